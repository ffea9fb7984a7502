// The editor's pictures: the stage being edited on Image1 and the palette
// window's column of tiles with the stage digit.
#include "app/main_window.h"
#include "render/draw.h"

namespace bd {
namespace {

constexpr int kPaletteTiles = 9;           // codes 1..9, top to bottom
constexpr int kPaletteStageNumberY = 288;  // the digit of the stage being edited
constexpr int kPaletteSelectedY = 304;     // the tile the left button paints

}  // namespace

void TForm1::DrawEditStage() {
  const TStageGrid& grid = EditSet.stages[EditStage];
  for (int r = 0; r < kStageRows; ++r)
    for (int c = 0; c < kStageColumns; ++c) CopyCell(Image1, 32 * c, 32 * r, Image2, TileCell(grid.at(c, r)));
  DrawStageNumber();
  services_.window.InvalidateImage1();
}

void TForm1::PaletteFormCreate() {
  PaletteImage.FillBlack();
  for (int code = 1; code <= kPaletteTiles; ++code)
    CopyCell(PaletteImage, 0, 32 * (code - 1), Image2, TileCell(code));
  DrawStageNumber();
  CopyCell(PaletteImage, 0, kPaletteSelectedY, Image2, TileCell(tcBrick));
  SelectedTile = tcBrick;
  services_.window.InvalidatePalette();
}

void TForm1::DrawStageNumber() {
  const char digit = static_cast<char>('1' + EditStage);
  CopyCell(PaletteImage, 0, kPaletteStageNumberY, Image2, GlyphCell(digit), kGlyphSize, kGlyphSize);
  services_.window.InvalidatePalette();
}

}  // namespace bd
