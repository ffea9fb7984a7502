// The title and game-over screens as pictures, with a made-up sheet whose
// every pixel shows where it came from.
#include <gtest/gtest.h>

#include "app/app.h"
#include "platform/headless/headless_services.h"
#include "tests/game_seam.h"
#include "tests/test_sheet.h"

namespace bd {
namespace {

using testing::EditGame;
using testing::SquareEquals;
using testing::SquareIs;

class Screens : public ::testing::Test {
 protected:
  Screens() {
    app.SetSpriteSheet(testing::MakeTestSheet());
    app.Startup();
  }

  void ExpectText(int column, int row, const std::string& text, uint32_t under) const {
    EXPECT_TRUE(testing::TextDrawn(app.screen, app.sprite_sheet(), column, row, text, under));
  }

  platform::HeadlessServices headless;
  TApp app{headless.services()};
};

TEST_F(Screens, TitleLaysOutBackdropLogoMenuBoxAndCursor) {
  const TSurface& image = app.screen;
  const TSheetCell brick = TileCell(tcBrick);
  EXPECT_TRUE(SquareIs(image, 0, 0, 512, 64, kBackdropBlue));
  // The logo's last row lies under the first credit line (row 7 starts at y = 112).
  EXPECT_TRUE(SquareEquals(image, 32, 64, app.sprite_sheet(), kTitleLogoCell, 448, 48));
  EXPECT_TRUE(SquareEquals(image, 32, 112, app.sprite_sheet(), {32, 416 + 48}, 320, 1));
  // The brick frame: top bar, both walls, and a floor of half bricks.
  for (int j = 0; j <= 8; ++j)
    EXPECT_TRUE(SquareEquals(image, 112 + 32 * j, 176, app.sprite_sheet(), brick, 32, 32)) << j;
  for (int i = 0; i <= 2; ++i) {
    EXPECT_TRUE(SquareEquals(image, 112, 208 + 32 * i, app.sprite_sheet(), brick, 32, 32));
    EXPECT_TRUE(SquareEquals(image, 368, 208 + 32 * i, app.sprite_sheet(), brick, 32, 32));
  }
  for (int j = 1; j <= 7; ++j) {
    EXPECT_TRUE(SquareEquals(image, 112 + 32 * j, 288, app.sprite_sheet(), {brick.x, brick.y + 16}, 32, 16))
        << j;
    EXPECT_TRUE(SquareEquals(image, 112 + 32 * j, 304, app.sprite_sheet(), brick, 32, 16)) << j;
  }
  EXPECT_TRUE(SquareIs(image, 0, 320, 512, 16, kBackdropBlue));
  EXPECT_TRUE(SquareIs(image, 144, 208, 224, 16, kBackdropBlue));  // inside the frame, above the text
  // The menu: cursor ball copied opaque, then the two lines.
  EXPECT_TRUE(SquareEquals(image, 160, 224, app.sprite_sheet(), GlyphCell(':'), 16, 16));
  ExpectText(11, 14, " GAME START", kBackdropBlue);
  ExpectText(10, 16, "  EDIT MODE", kBackdropBlue);
  EXPECT_EQ(app.TitleChoice, 1);
  EXPECT_EQ(headless.window.screen_invalidations, 1);
}

TEST_F(Screens, TitleCursorMovesBetweenTheTwoLinesAndBlotsTheOther) {
  const TSurface& image = app.screen;
  app.TitleCursorDown();
  EXPECT_TRUE(SquareIs(image, 160, 224, 16, 16, kBackdropBlue));
  EXPECT_TRUE(SquareEquals(image, 160, 256, app.sprite_sheet(), GlyphCell(':'), 16, 16));
  EXPECT_EQ(app.TitleChoice, 2);
  app.TitleCursorDown();  // no wrap-around
  EXPECT_EQ(app.TitleChoice, 2);
  app.TitleCursorUp();
  EXPECT_TRUE(SquareEquals(image, 160, 224, app.sprite_sheet(), GlyphCell(':'), 16, 16));
  EXPECT_TRUE(SquareIs(image, 160, 256, 16, 16, kBackdropBlue));
  EXPECT_EQ(app.TitleChoice, 1);
  EXPECT_EQ(headless.window.screen_invalidations, 4);
}

TEST_F(Screens, EveryTitleLooksTheSame) {
  const TSurface first = app.screen;
  app.TitleCursorDown();
  app.RunCommand(TMenuItemId::GoToTitle);
  EXPECT_TRUE(std::equal(first.data(), first.data() + kImageWidth * kImageHeight, app.screen.data()));
}

TEST_F(Screens, GameOverShowsScoresOnBlack) {
  EditGame(app.game, [&](TGameState& s) { s.progress.Score = 123; });
  EditGame(app.game,
           [&](TGameState& s) { s.progress.HiScore = 1234567; });  // more than five digits widens the line
  app.ShowGameOver();
  ExpectText(11, 10, "GAME  OVER", kBlack);
  ExpectText(10, 19, "SCORE 0012300", kBlack);
  ExpectText(8, 21, "HISCORE 123456700", kBlack);
  EXPECT_TRUE(SquareIs(app.screen, 0, 0, 512, 160, kBlack));
  EXPECT_TRUE(SquareIs(app.screen, 0, 176, 512, 128, kBlack));
}

TEST_F(Screens, PaletteShowsTheTilesTheStageDigitAndTheSelection) {
  app.editor.SelectStage(3);
  app.editor.DrawPalette();
  const TSurface& palette = app.palette_picture;
  for (int code = 1; code <= 9; ++code)
    EXPECT_TRUE(SquareEquals(palette, 0, 32 * (code - 1), app.sprite_sheet(), TileCell(code), 32, 32));
  EXPECT_TRUE(SquareEquals(palette, 0, 288, app.sprite_sheet(), GlyphCell('4'), 16, 16));
  EXPECT_TRUE(SquareIs(palette, 16, 288, 16, 16, kBlack));
  EXPECT_TRUE(SquareEquals(palette, 0, 304, app.sprite_sheet(), TileCell(tcBrick), 32, 32));
  EXPECT_EQ(app.editor.selected_tile(), tcBrick);
}

TEST_F(Screens, EditorDrawsEveryCellOfTheStage) {
  app.editor.SetCell(2, 5, 7, tcGold);
  app.RunCommand(TMenuItemId::EditMode);
  app.SelectEditStage(2);
  for (int r = 0; r < kStageRows; ++r)
    for (int c = 0; c < kStageColumns; ++c)
      ASSERT_TRUE(SquareEquals(app.screen, 32 * c, 32 * r, app.sprite_sheet(),
                               TileCell(app.editor.stages()[2].at(c, r)), 32, 32));
  EXPECT_TRUE(SquareEquals(app.palette_picture, 0, 288, app.sprite_sheet(), GlyphCell('3'), 16, 16));
}

}  // namespace
}  // namespace bd
