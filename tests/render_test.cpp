// Block transfers, text and actor compositing on plain surfaces.
#include <gtest/gtest.h>

#include "render/draw.h"
#include "render/raster.h"
#include "tests/test_sheet.h"

namespace bd {
namespace {

using testing::MakeTestSheet;

uint32_t Combine(TRasterOp op, uint32_t d, uint32_t s) {
  switch (op) {
    case TRasterOp::Copy: return s;
    case TRasterOp::And: return d & s;
    case TRasterOp::Or: return d | s;
    case TRasterOp::Xor: return d ^ s;
  }
  return 0;
}

// Distinct values, so a pixel taken from the wrong place is noticed.
void Pattern(TSurface& surface, uint32_t salt) {
  for (int i = 0; i < surface.width() * surface.height(); ++i)
    surface.data()[i] = (uint32_t(i) * 2654435761u ^ salt) & 0xFFFFFFu;
}

TEST(RasterOps, TruthTablesOfTheFourTransfers) {
  constexpr uint32_t kValues[] = {kBlack, kWhite, 0xF0F0F0u, 0x0F0F0Fu, kBackdropBlue};
  constexpr int n = std::size(kValues);
  for (TRasterOp op : {TRasterOp::Copy, TRasterOp::And, TRasterOp::Or, TRasterOp::Xor}) {
    TSurface src(n, n), dst(n, n);
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        src.data()[y * n + x] = kValues[x];
        dst.data()[y * n + x] = kValues[y];
      }
    BlockTransfer(dst, 0, 0, src, 0, 0, n, n, op);
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) EXPECT_EQ(dst.pixel(x, y), Combine(op, kValues[y], kValues[x])) << int(op);
  }
  // The facts the compositing relies on: white keeps under AND, black keeps under OR and XOR.
  EXPECT_EQ(Combine(TRasterOp::And, 0x123456u, kWhite), 0x123456u);
  EXPECT_EQ(Combine(TRasterOp::Or, 0x123456u, kBlack), 0x123456u);
}

// Every pixel of dst: the source pixel if it lies in the (unclipped) target
// rectangle, else what was there.
void ExpectClippedTransfer(int dx, int dy, int sx, int sy, int w, int h) {
  SCOPED_TRACE(::testing::Message() << "to (" << dx << "," << dy << ") from (" << sx << "," << sy << ") " << w
                                    << "x" << h);
  TSurface src(64, 48), dst(96, 80);
  Pattern(src, 0x5A5A5A);
  Pattern(dst, 0x0F0F0F);
  const TSurface before = dst;
  BlockTransfer(dst, dx, dy, src, sx, sy, w, h, TRasterOp::Copy);
  for (int y = 0; y < dst.height(); ++y)
    for (int x = 0; x < dst.width(); ++x) {
      const int u = x - dx + sx, v = y - dy + sy;
      const bool inside = x >= dx && x < dx + w && y >= dy && y < dy + h && u >= 0 && u < src.width() &&
                          v >= 0 && v < src.height();
      ASSERT_EQ(dst.pixel(x, y), inside ? src.pixel(u, v) : before.pixel(x, y)) << x << "," << y;
    }
}

TEST(RasterOps, TransfersClipAtEveryEdgeOfBothSurfaces) {
  ExpectClippedTransfer(-10, 5, 0, 0, 32, 32);    // off the left
  ExpectClippedTransfer(80, 5, 0, 0, 32, 32);     // off the right
  ExpectClippedTransfer(5, -32, 0, 0, 32, 32);    // wholly above: nothing
  ExpectClippedTransfer(5, -20, 0, 0, 32, 32);    // off the top
  ExpectClippedTransfer(5, 70, 0, 0, 32, 32);     // off the bottom
  ExpectClippedTransfer(-5, -5, 50, 40, 32, 32);  // source runs off its own corner
  ExpectClippedTransfer(10, 10, -8, -4, 20, 20);  // source starts before its own corner
  ExpectClippedTransfer(200, 10, 0, 0, 32, 32);   // wholly outside
}

TEST(RasterOps, CopiesWithinOneSurfaceSurviveOverlap) {
  for (const auto& [dx, dy] :
       {std::pair{3, 2}, std::pair{-3, -2}, std::pair{4, 0}, std::pair{-4, 0}, std::pair{0, 5}}) {
    TSurface surface(40, 30);
    Pattern(surface, 0x333333);
    TSurface expected = surface;
    const TSurface original = surface;
    BlockTransfer(expected, 10 + dx, 8 + dy, original, 10, 8, 16, 12, TRasterOp::Copy);
    BlockTransfer(surface, 10 + dx, 8 + dy, surface, 10, 8, 16, 12, TRasterOp::Copy);
    EXPECT_TRUE(std::equal(surface.data(), surface.data() + 40 * 30, expected.data())) << dx << "," << dy;
  }
}

TEST(RasterOps, BlackFillClips) {
  TSurface surface(64, 64);
  Pattern(surface, 1);
  const TSurface before = surface;
  FillBlack(surface, 48, -16, 32, 32);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      EXPECT_EQ(surface.pixel(x, y), x >= 48 && y < 16 ? kBlack : before.pixel(x, y));
}

TEST(GlyphCells, FollowTheSignedTruncatingFormula) {
  EXPECT_EQ(GlyphCell('0'), (TSheetCell{0, 224}));
  EXPECT_EQ(GlyphCell('9'), (TSheetCell{144, 224}));
  EXPECT_EQ(GlyphCell(':'), (TSheetCell{160, 224}));
  EXPECT_EQ(GlyphCell(';'), (TSheetCell{176, 224}));
  EXPECT_EQ(GlyphCell('@'), (TSheetCell{256, 224}));
  EXPECT_EQ(GlyphCell('O'), (TSheetCell{496, 224}));
  EXPECT_EQ(GlyphCell('P'), (TSheetCell{0, 240}));
  EXPECT_EQ(GlyphCell('Z'), (TSheetCell{160, 240}));
  EXPECT_EQ(GlyphCell(' '), GlyphCell('@'));  // why a blank is drawn as ">"
  for (char c = 33; c <= 47; ++c) EXPECT_EQ(GlyphCell(c), GlyphCell(char(c + 32))) << int(c);
  // 0xC8 is -56: v = -104, -104 / 32 truncates to -3, so row 11, not 10 or 18.
  EXPECT_EQ(GlyphCell(char(0xC8)), (TSheetCell{384, 176}));
}

class Text16 : public ::testing::Test {
 protected:
  Text16() {
    Pattern(image, 0x010101);
    background = image;
  }
  // The 16 x 16 square of text cell (column, row) after drawing.
  bool CellIs(int column, int row, char c, TRasterOp op) const {
    const TSheetCell glyph = GlyphCell(c);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const uint32_t under = background.pixel(16 * column + x, 16 * row + y);
        if (image.pixel(16 * column + x, 16 * row + y) !=
            Combine(op, under, sheet.pixel(glyph.x + x, glyph.y + y)))
          return false;
      }
    return true;
  }
  TSurface sheet = MakeTestSheet();
  TSurface image{kImageWidth, kImageHeight};
  TSurface background{kImageWidth, kImageHeight};
};

TEST_F(Text16, LettersAndDigitsAreOredAndTheColonIsCopied) {
  DrawText16(image, sheet, 3, 5, "A9:;@Z");
  EXPECT_TRUE(CellIs(3, 5, 'A', TRasterOp::Or));
  EXPECT_TRUE(CellIs(4, 5, '9', TRasterOp::Or));
  EXPECT_TRUE(CellIs(5, 5, ':', TRasterOp::Copy));
  EXPECT_TRUE(CellIs(6, 5, ';', TRasterOp::Or));
  EXPECT_TRUE(CellIs(7, 5, '@', TRasterOp::Or));
  EXPECT_TRUE(CellIs(8, 5, 'Z', TRasterOp::Or));
  EXPECT_TRUE(testing::SquareEquals(image, 144, 80, background, {144, 80}, 16, 16));
}

TEST_F(Text16, BlanksLeaveThePictureAndPunctuationBorrowsLetters) {
  DrawText16(image, sheet, 0, 0, "G  O");
  EXPECT_TRUE(testing::SquareEquals(image, 16, 0, background, {16, 0}, 32, 16));
  EXPECT_TRUE(CellIs(3, 0, 'O', TRasterOp::Or));
  DrawText16(image, sheet, 0, 2, "!/");
  EXPECT_TRUE(CellIs(0, 2, 'A', TRasterOp::Or));
  EXPECT_TRUE(CellIs(1, 2, 'O', TRasterOp::Or));
}

TEST_F(Text16, TextPastTheLastColumnIsCut) {
  DrawText16(image, sheet, 30, 27, "ABCDE");
  EXPECT_TRUE(CellIs(30, 27, 'A', TRasterOp::Or));
  EXPECT_TRUE(CellIs(31, 27, 'B', TRasterOp::Or));
  // Nothing wrapped round to the left edge or spilled anywhere else.
  for (int y = 0; y < kImageHeight; ++y)
    for (int x = 0; x < 480; ++x) ASSERT_EQ(image.pixel(x, y), background.pixel(x, y));
}

TEST(Actors, CompositingChangesExactlyTheSilhouette) {
  TSurface sheet(kSheetWidth, kSheetHeight);
  const TSheetCell sprite = GuardSpriteCell(19), mask = GuardMaskCell(19);
  // A ring with a dark-grey middle: the middle is part of the figure, the outside is not.
  auto in_figure = [](int x, int y) { return (x - 15) * (x - 15) + (y - 17) * (y - 17) < 140; };
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const uint32_t colour = in_figure(x, y) ? (x + y) % 3 == 0 ? 0x181820u : 0xE02828u : kBlack;
      sheet.data()[(sprite.y + y) * kSheetWidth + sprite.x + x] = colour;
      sheet.data()[(mask.y + y) * kSheetWidth + mask.x + x] = colour == kBlack ? kWhite : kBlack;
    }
  for (const auto& [px, py] : {std::pair{37, 45}, std::pair{-7, 430}, std::pair{495, -20}}) {
    TSurface image(kImageWidth, kImageHeight);
    Pattern(image, 0x777777);
    const TSurface before = image;
    DrawActor(image, sheet, sprite, mask, px, py);
    for (int y = 0; y < kImageHeight; ++y)
      for (int x = 0; x < kImageWidth; ++x) {
        const int u = x - px, v = y - py;
        const bool figure = u >= 0 && u < 32 && v >= 0 && v < 32 && in_figure(u, v);
        ASSERT_EQ(image.pixel(x, y), figure ? sheet.pixel(sprite.x + u, sprite.y + v) : before.pixel(x, y))
            << "at " << px << "," << py << " pixel " << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace bd
