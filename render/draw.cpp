#include "render/draw.h"

#include "render/raster.h"

namespace bd {

void CopyCell(TSurface& dst, int x, int y, const TSurface& sheet, TSheetCell cell, int w, int h) {
  BlockTransfer(dst, x, y, sheet, cell.x, cell.y, w, h, TRasterOp::Copy);
}

void DrawActor(TSurface& dst, const TSurface& sheet, TSheetCell sprite, TSheetCell mask, int x, int y) {
  BlockTransfer(dst, x, y, sheet, mask.x, mask.y, kCellPixels, kCellPixels, TRasterOp::And);
  BlockTransfer(dst, x, y, sheet, sprite.x, sprite.y, kCellPixels, kCellPixels, TRasterOp::Xor);
}

void DrawText16(TSurface& dst, const TSurface& sheet, int column, int row, const char* text) {
  int x = kGlyphSize * column;
  const int y = kGlyphSize * row;
  for (const char* p = text; *p != '\0'; ++p, x += kGlyphSize) {
    // A blank would land on the circled C; it is drawn as the empty ">" cell.
    const char c = *p == ' ' ? '>' : *p;
    const TSheetCell glyph = GlyphCell(c);
    const TRasterOp op = c == ':' ? TRasterOp::Copy : TRasterOp::Or;
    BlockTransfer(dst, x, y, sheet, glyph.x, glyph.y, kGlyphSize, kGlyphSize, op);
  }
}

void RestoreFromBackground(TSurface& screen, const TSurface& background, int x, int y) {
  BlockTransfer(screen, x, y, background, x, y, kCellPixels, kCellPixels, TRasterOp::Copy);
}

}  // namespace bd
