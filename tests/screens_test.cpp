// The title and game-over screens as pictures, with a made-up sheet whose
// every pixel shows where it came from.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "platform/headless/headless_services.h"
#include "tests/test_sheet.h"

namespace bd {
namespace {

using testing::SquareEquals;
using testing::SquareIs;

class Screens : public ::testing::Test {
 protected:
  Screens() {
    form.Image2 = testing::MakeTestSheet();
    form.FormCreate();
  }

  void ExpectText(int column, int row, const std::string& text, uint32_t under) const {
    EXPECT_TRUE(testing::TextDrawn(form.Image1, form.Image2, column, row, text, under));
  }

  platform::HeadlessServices headless;
  TForm1 form{headless.services()};
};

TEST_F(Screens, TitleLaysOutBackdropLogoMenuBoxAndCursor) {
  const TSurface& image = form.Image1;
  const TSheetCell brick = TileCell(tcBrick);
  EXPECT_TRUE(SquareIs(image, 0, 0, 512, 64, kBackdropBlue));
  // The logo's last row lies under the first credit line (row 7 starts at y = 112).
  EXPECT_TRUE(SquareEquals(image, 32, 64, form.Image2, kTitleLogoCell, 448, 48));
  EXPECT_TRUE(SquareEquals(image, 32, 112, form.Image2, {32, 416 + 48}, 320, 1));
  // The brick frame: top bar, both walls, and a floor of half bricks.
  for (int j = 0; j <= 8; ++j)
    EXPECT_TRUE(SquareEquals(image, 112 + 32 * j, 176, form.Image2, brick, 32, 32)) << j;
  for (int i = 0; i <= 2; ++i) {
    EXPECT_TRUE(SquareEquals(image, 112, 208 + 32 * i, form.Image2, brick, 32, 32));
    EXPECT_TRUE(SquareEquals(image, 368, 208 + 32 * i, form.Image2, brick, 32, 32));
  }
  for (int j = 1; j <= 7; ++j) {
    EXPECT_TRUE(SquareEquals(image, 112 + 32 * j, 288, form.Image2, {brick.x, brick.y + 16}, 32, 16)) << j;
    EXPECT_TRUE(SquareEquals(image, 112 + 32 * j, 304, form.Image2, brick, 32, 16)) << j;
  }
  EXPECT_TRUE(SquareIs(image, 0, 320, 512, 16, kBackdropBlue));
  EXPECT_TRUE(SquareIs(image, 144, 208, 224, 16, kBackdropBlue));  // inside the frame, above the text
  // The menu: cursor ball copied opaque, then the two lines.
  EXPECT_TRUE(SquareEquals(image, 160, 224, form.Image2, GlyphCell(':'), 16, 16));
  ExpectText(11, 14, " GAME START", kBackdropBlue);
  ExpectText(10, 16, "  EDIT MODE", kBackdropBlue);
  EXPECT_EQ(form.game.TitleChoice, 1);
  EXPECT_EQ(headless.window.image1_invalidations, 1);
}

TEST_F(Screens, TitleCursorMovesBetweenTheTwoLinesAndBlotsTheOther) {
  const TSurface& image = form.Image1;
  form.TitleCursorDown();
  EXPECT_TRUE(SquareIs(image, 160, 224, 16, 16, kBackdropBlue));
  EXPECT_TRUE(SquareEquals(image, 160, 256, form.Image2, GlyphCell(':'), 16, 16));
  EXPECT_EQ(form.game.TitleChoice, 2);
  form.TitleCursorDown();  // no wrap-around
  EXPECT_EQ(form.game.TitleChoice, 2);
  form.TitleCursorUp();
  EXPECT_TRUE(SquareEquals(image, 160, 224, form.Image2, GlyphCell(':'), 16, 16));
  EXPECT_TRUE(SquareIs(image, 160, 256, 16, 16, kBackdropBlue));
  EXPECT_EQ(form.game.TitleChoice, 1);
  EXPECT_EQ(headless.window.image1_invalidations, 4);
}

TEST_F(Screens, EveryTitleLooksTheSame) {
  const TSurface first = form.Image1;
  form.TitleCursorDown();
  form.MenuClick(TMenuItemId::Reset1);
  EXPECT_TRUE(std::equal(first.data(), first.data() + kImageWidth * kImageHeight, form.Image1.data()));
}

TEST_F(Screens, GameOverShowsScoresOnBlack) {
  form.game.Score = 123;
  form.game.HiScore = 1234567;  // more than five digits widens the line
  form.ShowGameOver();
  ExpectText(11, 10, "GAME  OVER", kBlack);
  ExpectText(10, 19, "SCORE 0012300", kBlack);
  ExpectText(8, 21, "HISCORE 123456700", kBlack);
  EXPECT_TRUE(SquareIs(form.Image1, 0, 0, 512, 160, kBlack));
  EXPECT_TRUE(SquareIs(form.Image1, 0, 176, 512, 128, kBlack));
}

TEST_F(Screens, PaletteShowsTheTilesTheStageDigitAndTheSelection) {
  form.EditStage = 3;
  form.PaletteFormCreate();
  const TSurface& palette = form.PaletteImage;
  for (int code = 1; code <= 9; ++code)
    EXPECT_TRUE(SquareEquals(palette, 0, 32 * (code - 1), form.Image2, TileCell(code), 32, 32));
  EXPECT_TRUE(SquareEquals(palette, 0, 288, form.Image2, GlyphCell('4'), 16, 16));
  EXPECT_TRUE(SquareIs(palette, 16, 288, 16, 16, kBlack));
  EXPECT_TRUE(SquareEquals(palette, 0, 304, form.Image2, TileCell(tcBrick), 32, 32));
  EXPECT_EQ(form.SelectedTile, tcBrick);
}

TEST_F(Screens, EditorDrawsEveryCellOfTheStage) {
  form.EditSet.stages[2].at(5, 7) = tcGold;
  form.MenuClick(TMenuItemId::Edit1);
  form.N11Click(2);
  for (int r = 0; r < kStageRows; ++r)
    for (int c = 0; c < kStageColumns; ++c)
      ASSERT_TRUE(SquareEquals(form.Image1, 32 * c, 32 * r, form.Image2,
                               TileCell(form.EditSet.stages[2].at(c, r)), 32, 32));
  EXPECT_TRUE(SquareEquals(form.PaletteImage, 0, 288, form.Image2, GlyphCell('3'), 16, 16));
}

}  // namespace
}  // namespace bd
