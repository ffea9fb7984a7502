// The text art reader: what it accepts, and the mistakes it must refuse
// rather than turn into a wrong picture.
#include "tools/sheet/art_file.h"

#include <gtest/gtest.h>

namespace bd::art {
namespace {

ArtSet WithPalette() {
  ArtSet set;
  ReadPalette("# colours\npalette R 224 40 40\npalette W 255 255 255\n", "palette.txt", set.palette);
  return set;
}

TEST(ArtFile, ReadsSpritesWithSharedAndLocalColours) {
  ArtSet set = WithPalette();
  ReadSprites("# a dot\nsprite dot 3 2\n.R.\nW.R  \n\npalette q 1 2 3\nsprite after 1 1\nq\n", "a.txt", set);
  const Sprite& dot = set.Get("dot");
  EXPECT_EQ(dot.width, 3);
  EXPECT_EQ(dot.height, 2);
  EXPECT_EQ(dot.pixels, (std::vector<uint32_t>{0, 0xE02828, 0, 0xFFFFFF, 0, 0xE02828}));
  EXPECT_EQ(set.Get("after").pixels, std::vector<uint32_t>{0x010203});
  // A file's own colours stay in that file.
  EXPECT_THROW(ReadSprites("sprite other 1 1\nq\n", "b.txt", set), ArtError);
  EXPECT_THROW(set.Get("missing"), ArtError);
}

TEST(ArtFile, RefusesMalformedArtNamingTheLine) {
  const struct {
    const char* text;
    const char* message;
  } kBroken[] = {
      {"sprite s 3 2\n...\n..\n", "a.txt:3: s: row is 2 wide, not 3"},
      {"sprite s 2 3\n..\n..\n", "a.txt:1: s: too few rows"},
      {"sprite s 2 1\n.Z\n", "a.txt:2: s: unknown colour 'Z'"},
      {"sprite s 1 1\n.\nsprite s 1 1\n.\n", "a.txt:3: sprite s defined twice"},
      {"palette R 1 2 3\n", "a.txt:1: colour 'R' defined twice"},
      {"palette . 1 2 3\n", "a.txt:1: '.' is always black"},
      {"palette x 1 2 300\n", "a.txt:1: expected: palette X r g b"},
      {"sprite s two 1\n.\n", "a.txt:1: expected: sprite NAME WIDTH HEIGHT"},
      {"sprite s 2 2\n..\n\n..\n", "a.txt:3: s: row is 0 wide, not 2"},
  };
  for (const auto& broken : kBroken) {
    ArtSet set = WithPalette();
    try {
      ReadSprites(broken.text, "a.txt", set);
      ADD_FAILURE() << "accepted: " << broken.text;
    } catch (const ArtError& error) {
      EXPECT_STREQ(error.what(), broken.message);
    }
  }
}

}  // namespace
}  // namespace bd::art
