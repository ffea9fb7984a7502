// The screens outside play: title and game over, drawn once onto the screen.
#include "app/app.h"
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
void DrawMenuBox(TSurface& screen, const TSurface& sheet) {
  const TSheetCell brick = TileCell(tcBrick);
  for (const int y : {176, 272})
    for (int j = 0; j <= 8; ++j) CopyCell(screen, 112 + 32 * j, y, sheet, brick);
  for (int j = 0; j <= 8; ++j) CopyCell(screen, 112 + 32 * j, 304, sheet, brick);
  BlockTransfer(screen, 144, 272, screen, 0, 0, 224, 16, TRasterOp::Copy);
  for (int i = 0; i <= 2; ++i) {
    CopyCell(screen, 112, 208 + 32 * i, sheet, brick);
    CopyCell(screen, 368, 208 + 32 * i, sheet, brick);
  }
  BlockTransfer(screen, 112, 320, screen, 0, 0, 288, 16, TRasterOp::Copy);
}

// Blots out the cursor square of a title row with the backdrop at (0,0).
void BlotCursor(TSurface& screen, int row) {
  BlockTransfer(screen, kGlyphSize * kCursorColumn, kGlyphSize * row, screen, 0, 0, kGlyphSize, kGlyphSize,
                TRasterOp::Copy);
}

}  // namespace

void TApp::ShowTitle() {
  for (int r = 0; r < 14; ++r)
    for (int c = 0; c < 16; ++c) CopyCell(screen, 32 * c, 32 * r, sprite_sheet_, kTitleBackdropCell);
  CopyCell(screen, 32, 64, sprite_sheet_, kTitleLogoCell, kTitleLogoWidth, kTitleLogoHeight);
  DrawText16(screen, sprite_sheet_, 22, 7, kCreditUnderLogo);
  // The foot lines centred on the picture, a text row apart. The third has
  // an odd length: drawn a column early, then moved half a glyph right.
  DrawText16(screen, sprite_sheet_, 2, 23, kCreditLine2);
  DrawText16(screen, sprite_sheet_, 6, 25, kCreditLine3);
  BlockTransfer(screen, 6 * kGlyphSize + kGlyphSize / 2, 25 * kGlyphSize, screen, 6 * kGlyphSize,
                25 * kGlyphSize, 19 * kGlyphSize, kGlyphSize, TRasterOp::Copy);
  BlockTransfer(screen, 6 * kGlyphSize, 25 * kGlyphSize, screen, 0, 0, kGlyphSize / 2, kGlyphSize,
                TRasterOp::Copy);
  DrawMenuBox(screen, sprite_sheet_);
  DrawText16(screen, sprite_sheet_, kCursorColumn, kGameStartRow, ": GAME START");
  DrawText16(screen, sprite_sheet_, kCursorColumn, kEditModeRow, "  EDIT MODE");
  TitleChoice = 1;
  services_.window.InvalidateScreen();
  SetCaption(kCaption);
  GameMode = gmTitle;
  game.ResetProgress();
  sound.StartMusic(TMusicPiece::Title);
}

void TApp::ShowGameOver() {
  screen.FillBlack();
  DrawText16(screen, sprite_sheet_, 11, 10, "GAME  OVER");
  painter.DrawScoreLines(game.progress().Score, game.progress().HiScore);
  GameMode = gmGameOver;
  game.ForgetDeathAndPhase();
  sound.StartMusic(TMusicPiece::GameOver);
  services_.window.InvalidateScreen();
}

void TApp::TitleCursorUp() {
  DrawText16(screen, sprite_sheet_, kCursorColumn, kGameStartRow, ":");
  BlotCursor(screen, kEditModeRow);
  services_.window.InvalidateScreen();
  TitleChoice = 1;
}

void TApp::TitleCursorDown() {
  BlotCursor(screen, kGameStartRow);
  DrawText16(screen, sprite_sheet_, kCursorColumn, kEditModeRow, ":");
  services_.window.InvalidateScreen();
  TitleChoice = 2;
}

}  // namespace bd
