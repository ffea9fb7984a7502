// The screens outside play: title and game over, drawn once onto Image1.
#include <cstdio>

#include "app/main_window.h"
#include "render/draw.h"
#include "render/raster.h"

namespace bd {
namespace {

// Our credit lines: under the logo's right end, and two at the foot.
constexpr const char* kCreditUnderLogo = "@ 2026";
constexpr const char* kCreditLine2 = "MADE BY THE BURROW DASH CREW";
constexpr const char* kCreditLine3 = "ALL RIGHTS RESERVED";

constexpr int kCursorColumn = 10;
constexpr int kGameStartRow = 14;
constexpr int kEditModeRow = 16;

// The brick frame around the title menu; the backdrop strips copied from the
// top-left corner cut the floor down to half bricks.
void DrawMenuBox(TSurface& image1, const TSurface& sheet) {
  const TSheetCell brick = TileCell(tcBrick);
  for (const int y : {176, 272})
    for (int j = 0; j <= 8; ++j) CopyCell(image1, 112 + 32 * j, y, sheet, brick);
  for (int j = 0; j <= 8; ++j) CopyCell(image1, 112 + 32 * j, 304, sheet, brick);
  BlockTransfer(image1, 144, 272, image1, 0, 0, 224, 16, TRasterOp::Copy);
  for (int i = 0; i <= 2; ++i) {
    CopyCell(image1, 112, 208 + 32 * i, sheet, brick);
    CopyCell(image1, 368, 208 + 32 * i, sheet, brick);
  }
  BlockTransfer(image1, 112, 320, image1, 0, 0, 288, 16, TRasterOp::Copy);
}

// Blots out the cursor square of a title row with the backdrop at (0,0).
void BlotCursor(TSurface& image1, int row) {
  BlockTransfer(image1, kGlyphSize * kCursorColumn, kGlyphSize * row, image1, 0, 0, kGlyphSize, kGlyphSize,
                TRasterOp::Copy);
}

}  // namespace

void TForm1::ShowTitle() {
  for (int r = 0; r < 14; ++r)
    for (int c = 0; c < 16; ++c) CopyCell(Image1, 32 * c, 32 * r, Image2, kTitleBackdropCell);
  CopyCell(Image1, 32, 64, Image2, kTitleLogoCell, kTitleLogoWidth, kTitleLogoHeight);
  DrawText16(Image1, Image2, 22, 7, kCreditUnderLogo);
  DrawText16(Image1, Image2, 3, 23, kCreditLine2);
  DrawText16(Image1, Image2, 7, 24, kCreditLine3);
  DrawMenuBox(Image1, Image2);
  DrawText16(Image1, Image2, kCursorColumn, kGameStartRow, ": GAME START");
  DrawText16(Image1, Image2, kCursorColumn, kEditModeRow, "  EDIT MODE");
  game.TitleChoice = 1;
  services_.window.InvalidateImage1();
  SetCaption(kCaption);
  game.GameMode = gmTitle;
  game.Lives = 5;
  game.Score = 0;
  game.PlayEditSet = false;
  if (game.MusicOn) music_.StartMusic("tit.mid");
}

void TForm1::DrawScoreLines() {
  char line[32];
  std::snprintf(line, sizeof line, "SCORE %05d00", game.Score);
  DrawText16(Image1, Image2, 10, 19, line);
  std::snprintf(line, sizeof line, "HISCORE %05d00", game.HiScore);
  DrawText16(Image1, Image2, 8, 21, line);
}

void TForm1::ShowGameOver() {
  Image1.FillBlack();
  DrawText16(Image1, Image2, 11, 10, "GAME  OVER");
  DrawScoreLines();
  game.GameMode = gmGameOver;
  play.runner.DeathTicks = 0;
  play.phase = spCollect;
  if (game.MusicOn) music_.StartMusic("mus3.mid");
  services_.window.InvalidateImage1();
}

void TForm1::TitleCursorUp() {
  DrawText16(Image1, Image2, kCursorColumn, kGameStartRow, ":");
  BlotCursor(Image1, kEditModeRow);
  services_.window.InvalidateImage1();
  game.TitleChoice = 1;
}

void TForm1::TitleCursorDown() {
  BlotCursor(Image1, kGameStartRow);
  DrawText16(Image1, Image2, kCursorColumn, kEditModeRow, ":");
  services_.window.InvalidateImage1();
  game.TitleChoice = 2;
}

}  // namespace bd
