// Text pixel art: a palette of one-character colours and named sprites drawn
// one character a pixel. The sprite sheet is built from these files.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace bd::art {

struct ArtError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A sprite as 0x00RRGGBB pixels, row-major.
struct Sprite {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[y * width + x]; }
};

struct ArtSet {
  std::map<char, uint32_t> palette;  // the shared colours
  std::map<std::string, Sprite> sprites;
  const Sprite& Get(const std::string& name) const;
};

// Reads "palette X r g b" lines and nothing else.
void ReadPalette(const std::string& text, const std::string& source, std::map<char, uint32_t>& palette);

// Reads a file of sprites into the set. Its own palette lines add colours for
// that file only. Errors name the source and line.
void ReadSprites(const std::string& text, const std::string& source, ArtSet& set);

// palette.txt and then every other *.txt of the folder, in name order.
ArtSet ReadArtFolder(const std::string& folder);

}  // namespace bd::art
