#include "editor/stage_editor.h"

#include "editor/stage_file.h"
#include "render/draw.h"

namespace bd {
namespace {

constexpr int kPaletteTiles = 9;           // codes 1..9, top to bottom
constexpr int kPaletteStageNumberY = 288;  // the digit of the stage being edited
constexpr int kPaletteSelectedY = 304;     // the tile the left button paints

}  // namespace

void TStageEditor::DrawEditStage() {
  const TStageGrid& grid = stages[current_stage];
  for (int r = 0; r < kStageRows; ++r)
    for (int c = 0; c < kStageColumns; ++c)
      CopyCell(surfaces_.screen, 32 * c, 32 * r, surfaces_.sprite_sheet, TileCell(grid.at(c, r)));
  DrawStageNumber();
  window_.InvalidateScreen();
}

void TStageEditor::DrawPalette() {
  surfaces_.palette_picture.FillBlack();
  for (int code = 1; code <= kPaletteTiles; ++code)
    CopyCell(surfaces_.palette_picture, 0, 32 * (code - 1), surfaces_.sprite_sheet, TileCell(code));
  DrawStageNumber();
  CopyCell(surfaces_.palette_picture, 0, kPaletteSelectedY, surfaces_.sprite_sheet, TileCell(tcBrick));
  selected_tile = tcBrick;
  window_.InvalidatePalette();
}

void TStageEditor::DrawStageNumber() {
  const char digit = static_cast<char>('1' + current_stage);
  CopyCell(surfaces_.palette_picture, 0, kPaletteStageNumberY, surfaces_.sprite_sheet, GlyphCell(digit),
           kGlyphSize, kGlyphSize);
  window_.InvalidatePalette();
}

std::optional<TEditSet> TStageEditor::ReadStageFile(const std::string& path) {
  const auto bytes = files_.ReadFile(path, kStageFileBytes);
  if (!bytes) return std::nullopt;
  return ParseStageFile(*bytes);
}

}  // namespace bd
