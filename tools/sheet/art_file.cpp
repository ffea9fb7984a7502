#include "tools/sheet/art_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace bd::art {
namespace {

[[noreturn]] void Fail(const std::string& source, int line, const std::string& what) {
  throw ArtError(source + ":" + std::to_string(line) + ": " + what);
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ArtError("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool IsSkippable(const std::string& line) { return line.empty() || line[0] == '#'; }

// "palette X r g b": adds the colour; the character must be new.
void AddColour(const std::string& line, const std::string& source, int number,
               std::map<char, uint32_t>& palette) {
  std::istringstream words(line);
  std::string keyword, key;
  int r = -1, g = -1, b = -1;
  if (!(words >> keyword >> key >> r >> g >> b) || key.size() != 1 || r < 0 || r > 255 || g < 0 || g > 255 ||
      b < 0 || b > 255)
    Fail(source, number, "expected: palette X r g b");
  if (key[0] == '.') Fail(source, number, "'.' is always black");
  if (!palette.emplace(key[0], (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b)).second)
    Fail(source, number, std::string("colour '") + key + "' defined twice");
}

}  // namespace

const Sprite& ArtSet::Get(const std::string& name) const {
  const auto found = sprites.find(name);
  if (found == sprites.end()) throw ArtError("missing sprite " + name);
  return found->second;
}

void ReadPalette(const std::string& text, const std::string& source, std::map<char, uint32_t>& palette) {
  const std::vector<std::string> lines = SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (IsSkippable(lines[i])) continue;
    if (lines[i].rfind("palette ", 0) != 0) Fail(source, int(i) + 1, "only palette lines belong here");
    AddColour(lines[i], source, int(i) + 1, palette);
  }
}

void ReadSprites(const std::string& text, const std::string& source, ArtSet& set) {
  std::map<char, uint32_t> palette = set.palette;
  palette['.'] = 0;
  const std::vector<std::string> lines = SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const int number = int(i) + 1;
    if (IsSkippable(line)) continue;
    if (line.rfind("palette ", 0) == 0) {
      AddColour(line, source, number, palette);
      continue;
    }
    std::istringstream words(line);
    std::string keyword, name;
    Sprite sprite;
    if (!(words >> keyword >> name >> sprite.width >> sprite.height) || keyword != "sprite" ||
        sprite.width <= 0 || sprite.height <= 0 || sprite.width > 512 || sprite.height > 512)
      Fail(source, number, "expected: sprite NAME WIDTH HEIGHT");
    if (set.sprites.count(name)) Fail(source, number, "sprite " + name + " defined twice");
    if (i + sprite.height >= lines.size()) Fail(source, number, name + ": too few rows");
    for (int y = 0; y < sprite.height; ++y) {
      const std::string& row = lines[i + 1 + y];
      if (int(row.size()) != sprite.width)
        Fail(source, number + 1 + y,
             name + ": row is " + std::to_string(row.size()) + " wide, not " + std::to_string(sprite.width));
      for (const char key : row) {
        const auto colour = palette.find(key);
        if (colour == palette.end()) Fail(source, number + 1 + y, name + ": unknown colour '" + key + "'");
        sprite.pixels.push_back(colour->second);
      }
    }
    i += sprite.height;
    set.sprites.emplace(name, std::move(sprite));
  }
}

ArtSet ReadArtFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  ArtSet set;
  const fs::path palette_path = fs::path(folder) / "palette.txt";
  ReadPalette(ReadWholeFile(palette_path), palette_path.string(), set.palette);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".txt" && entry.path().filename() != "palette.txt")
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const auto& path : files) ReadSprites(ReadWholeFile(path), path.filename().string(), set);
  return set;
}

}  // namespace bd::art
