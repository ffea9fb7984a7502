// The sprite sheet the build makes from assets/art, checked as the game
// will read it: layout, colour keys, masks, empty cells and hole frames.
#include "render/sprite_sheet.h"

#include <gtest/gtest.h>

#include <QImage>

#include "platform/qt/surface_images.h"
#include "stage/tile_codes.h"
#include "tests/test_sheet.h"

namespace bd {
namespace {

using testing::SquareEquals;
using testing::SquareIs;

class SpriteSheet : public ::testing::Test {
 protected:
  SpriteSheet() : file(BD_SHEET_PNG) { EXPECT_TRUE(platform::SurfaceFromImage(file, sheet)); }

  // Pixels in a cell that are not black.
  int Coloured(TSheetCell cell) const {
    int count = 0;
    for (int y = 0; y < kCellPixels; ++y)
      for (int x = 0; x < kCellPixels; ++x) count += sheet.pixel(cell.x + x, cell.y + y) != kBlack;
    return count;
  }
  void ExpectMaskIsSilhouette(TSheetCell sprite, TSheetCell mask, const char* what, int n) const {
    for (int y = 0; y < kCellPixels; ++y)
      for (int x = 0; x < kCellPixels; ++x) {
        const uint32_t expected = sheet.pixel(sprite.x + x, sprite.y + y) == kBlack ? kWhite : kBlack;
        ASSERT_EQ(sheet.pixel(mask.x + x, mask.y + y), expected) << what << " frame " << n;
      }
  }
  bool MirrorOf(TSheetCell right, TSheetCell left) const {
    for (int y = 0; y < kCellPixels; ++y)
      for (int x = 0; x < kCellPixels; ++x)
        if (sheet.pixel(right.x + x, right.y + y) != sheet.pixel(left.x + 31 - x, left.y + y)) return false;
    return true;
  }

  QImage file;
  TSurface sheet{kSheetWidth, kSheetHeight};
};

TEST_F(SpriteSheet, IsAnEightBitPaletteImageWithTheThreeKeys) {
  EXPECT_EQ(file.format(), QImage::Format_Indexed8);
  EXPECT_EQ(file.size(), QSize(kSheetWidth, kSheetHeight));
  const QList<QRgb> table = file.colorTable();
  for (const QRgb key : {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 88, 248)})
    EXPECT_TRUE(table.contains(key));
  // The copy built into the program is the same picture.
  TSurface embedded(kSheetWidth, kSheetHeight);
  platform::LoadSpriteSheet(embedded);
  EXPECT_TRUE(std::equal(sheet.data(), sheet.data() + kSheetWidth * kSheetHeight, embedded.data()));
}

TEST_F(SpriteSheet, EveryMaskIsItsSpritesSilhouette) {
  for (int n = 0; n < kRunnerFrameCount; ++n)
    ExpectMaskIsSilhouette(RunnerSpriteCell(n), RunnerMaskCell(n), "runner", n);
  for (int g = 0; g < kGuardFrameCount; ++g)
    ExpectMaskIsSilhouette(GuardSpriteCell(g), GuardMaskCell(g), "guard", g);
}

TEST_F(SpriteSheet, ActorFramesAreDrawnWhereThereIsAPoseAndBlackWhereNot) {
  auto runner_empty = [](int n) { return (n >= 26 && n <= 29) || n == 44 || n >= 49; };
  auto guard_empty = [](int g) { return (g >= 24 && g <= 27) || g >= 32; };
  for (int n = 0; n < kRunnerFrameCount; ++n) {
    if (runner_empty(n)) EXPECT_EQ(Coloured(RunnerSpriteCell(n)), 0) << "runner " << n;
    // The last spark frames may be sparse, but never empty.
    else
      EXPECT_GE(Coloured(RunnerSpriteCell(n)), n >= 36 && n <= 43 ? 8 : 100) << "runner " << n;
  }
  for (int g = 0; g < kGuardFrameCount; ++g) {
    if (guard_empty(g))
      EXPECT_EQ(Coloured(GuardSpriteCell(g)), 0) << "guard " << g;
    else
      EXPECT_GE(Coloured(GuardSpriteCell(g)), g == 14 ? 8 : 100) << "guard " << g;
  }
  // Right-facing frames mirror the left-facing ones.
  for (const auto& [right, left] :
       {std::pair{18, 0}, {21, 3}, {22, 4}, {25, 7}, {30, 12}, {33, 15}, {34, 16}, {35, 17}})
    EXPECT_TRUE(MirrorOf(RunnerSpriteCell(right), RunnerSpriteCell(left))) << "runner " << right;
  for (const auto& [right, left] : {std::pair{18, 0}, {21, 3}, {22, 4}, {23, 5}, {28, 10}, {31, 13}})
    EXPECT_TRUE(MirrorOf(GuardSpriteCell(right), GuardSpriteCell(left))) << "guard " << right;
  // The runner and the guards do not share a standing picture.
  EXPECT_FALSE(SquareEquals(sheet, 0, 0, sheet, GuardSpriteCell(0), 32, 32));
}

TEST_F(SpriteSheet, TilesLaddersGoldAndHoles) {
  EXPECT_EQ(Coloured(TileCell(tcEmpty)), 0);
  for (int t = 1; t <= 9; ++t) EXPECT_GE(Coloured(TileCell(t)), 60) << "tile " << t;
  EXPECT_EQ(Coloured({512, 160}), 0);
  EXPECT_EQ(Coloured({544, 160}), 0);
  // Markers that a stage maker must not confuse with what they stand beside.
  EXPECT_FALSE(SquareEquals(sheet, TileCell(tcTrapBrick).x, 160, sheet, TileCell(tcBrick), 32, 32));
  EXPECT_FALSE(SquareEquals(sheet, TileCell(tcHiddenLadder).x, 160, sheet, TileCell(tcLadder), 32, 32));
  for (int step = 0; step < 3; ++step) {
    EXPECT_GE(Coloured(LadderFrameCell(step)), 60);
    EXPECT_GE(Coloured(GoldFrameCell(step)), 60);
  }
  EXPECT_FALSE(SquareEquals(sheet, 320, 160, sheet, {352, 160}, 32, 32));  // the shimmer shows
  EXPECT_FALSE(SquareEquals(sheet, 416, 160, sheet, {448, 160}, 32, 32));  // the glint moves
  // Digging eats the brick away, refilling brings it back whole.
  int previous = Coloured(HoleFrameCell(1));
  for (int c = 2; c <= 11; ++c) {
    EXPECT_LE(Coloured(HoleFrameCell(c)), previous) << c;
    previous = Coloured(HoleFrameCell(c));
  }
  EXPECT_EQ(HoleFrameCell(11), (TSheetCell{320, 192}));
  EXPECT_TRUE(SquareIs(sheet, 320, 192, 32, 32, kBlack));
  EXPECT_EQ(HoleFrameCell(101), (TSheetCell{480, 192}));
  EXPECT_TRUE(SquareEquals(sheet, 480, 192, sheet, TileCell(tcBrick), 32, 32));
  EXPECT_LT(Coloured(HoleFrameCell(97)), Coloured(HoleFrameCell(101)));
}

TEST_F(SpriteSheet, GlyphsAreWhiteInkExceptTheBallOnBlue) {
  for (int cell = 0; cell < 64; ++cell) {
    const int x0 = 16 * (cell % 32), y0 = 224 + 16 * (cell / 32);
    const char c = char(48 + cell);
    const bool has_ink = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ';' || c == '@';
    int ink = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const uint32_t p = sheet.pixel(x0 + x, y0 + y);
        if (c == ':') continue;
        ASSERT_TRUE(p == kBlack || p == kWhite) << "glyph " << c;
        ink += p == kWhite;
      }
    if (c == ':') continue;
    if (has_ink)
      EXPECT_GE(ink, 12) << "glyph " << c;
    else
      EXPECT_EQ(ink, 0) << "glyph " << c;
  }
  // The rest of both glyph rows is black.
  EXPECT_TRUE(SquareIs(sheet, 512, 224, 64, 16, kBlack));
  EXPECT_TRUE(SquareIs(sheet, 176, 240, 400, 16, kBlack));
  // The cursor: a ball on backdrop blue, corners blue, centre not.
  const TSheetCell ball = GlyphCell(':');
  EXPECT_EQ(sheet.pixel(ball.x, ball.y), kBackdropBlue);
  EXPECT_EQ(sheet.pixel(ball.x + 15, ball.y + 15), kBackdropBlue);
  EXPECT_NE(sheet.pixel(ball.x + 8, ball.y + 8), kBackdropBlue);
}

TEST_F(SpriteSheet, TheBandIsBackdropWithTheLogo) {
  EXPECT_TRUE(SquareIs(sheet, 0, 416, 32, 64, kBackdropBlue));
  EXPECT_TRUE(SquareIs(sheet, 480, 416, 96, 64, kBackdropBlue));
  EXPECT_TRUE(SquareIs(sheet, 32, 465, 448, 15, kBackdropBlue));
  int logo = 0;
  for (int y = 416; y < 465; ++y)
    for (int x = 32; x < 480; ++x) logo += sheet.pixel(x, y) != kBackdropBlue;
  EXPECT_GE(logo, 3000);
}

}  // namespace
}  // namespace bd
