#include "editor/stage_editor.h"

#include "editor/stage_file.h"
#include "render/draw.h"
#include "render/raster.h"

namespace bd {
namespace {

constexpr int kPaletteStageNumberY = 288;  // the digit of the stage being edited
constexpr int kPaletteSelectedY = 304;     // the tile the left button paints

// The pixels of the screen that reach an interior cell: columns 1..14, rows 0..12.
bool OnPaintableCell(int x, int y) { return x >= 32 && x <= 479 && y >= 1 && y <= 415; }

}  // namespace

void TStageEditor::DrawEditStage() {
  const TStageGrid& grid = stages_[current_stage_];
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
  selected_tile_ = tcBrick;
  window_.InvalidatePalette();
}

void TStageEditor::DrawStageNumber() {
  const char digit = static_cast<char>('1' + current_stage_);
  CopyCell(surfaces_.palette_picture, 0, kPaletteStageNumberY, surfaces_.sprite_sheet, GlyphCell(digit),
           kGlyphSize, kGlyphSize);
  window_.InvalidatePalette();
}

void TStageEditor::ScreenMouseDown(TMouseButton button, int x, int y) {
  if (!OnPaintableCell(x, y)) return;
  const int column = x / kCellPixels, row = y / kCellPixels;
  const uint8_t cell = stages_[current_stage_].at(column, row);
  if (button == TMouseButton::Left && cell != selected_tile_) Paint(column, row);
  if (button == TMouseButton::Right && cell != tcEmpty) Erase(column, row);
}

void TStageEditor::ScreenMouseMove(TMouseButtons held, int x, int y) {
  if (!OnPaintableCell(x, y)) return;
  const int column = x / kCellPixels, row = y / kCellPixels;
  const uint8_t cell = stages_[current_stage_].at(column, row);
  // With both buttons held a cell of the selected tile is erased, and the
  // next move over it paints it again.
  if (held.left && cell != selected_tile_) {
    Paint(column, row);
  } else if (held.right && cell != tcEmpty) {
    Erase(column, row);
  }
}

void TStageEditor::PaletteMouseDown(TMouseButton button, int /*x*/, int y) {
  // Above the picture there is no tile to choose.
  if (button != TMouseButton::Left || y < 0 || y >= kPaletteStageNumberY) return;
  const uint8_t code = static_cast<uint8_t>(y / 32 + 1);
  CopyCell(surfaces_.palette_picture, 0, kPaletteSelectedY, surfaces_.sprite_sheet, TileCell(code));
  selected_tile_ = code;
  window_.InvalidatePalette();
}

void TStageEditor::Paint(int column, int row) {
  CopyCell(surfaces_.screen, column * kCellPixels, row * kCellPixels, surfaces_.sprite_sheet,
           TileCell(selected_tile_));
  stages_[current_stage_].at(column, row) = selected_tile_;
  window_.InvalidateScreen();
}

void TStageEditor::Erase(int column, int row) {
  FillBlack(surfaces_.screen, column * kCellPixels, row * kCellPixels, kCellPixels, kCellPixels);
  stages_[current_stage_].at(column, row) = tcEmpty;
  window_.InvalidateScreen();
}

std::optional<TEditSet> TStageEditor::ReadStageFile(const std::string& path, std::string& reason) {
  const auto bytes = files_.ReadFile(path, kStageFileBytes, reason);
  if (!bytes) return std::nullopt;
  reason = StageFileProblem(*bytes);
  if (!reason.empty()) return std::nullopt;
  return ParseStageFile(*bytes);
}

void TStageEditor::AdoptStageFile(const std::string& path, const TEditSet& loaded) {
  file_name_ = path;
  stages_ = loaded;
  saved_stages_ = loaded;
}

bool TStageEditor::WriteStageFile(const std::string& path, std::string& reason) {
  const auto bytes = StageFileBytes(stages_);
  if (!files_.WriteFile(path, bytes, reason)) return false;
  file_name_ = path;
  saved_stages_ = stages_;
  return true;
}

void TStageEditor::Reset() {
  ClearAll(stages_);
  saved_stages_ = stages_;
  current_stage_ = 0;
}

void TStageEditor::ClearShownStage() { ClearToFrame(stages_[current_stage_]); }

void TStageEditor::ClearAllStages() {
  ClearAll(stages_);
  current_stage_ = 0;
  file_name_ = kNoStageFile;
}

}  // namespace bd
