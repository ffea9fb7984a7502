// A made-up sprite sheet for drawing tests: every pixel tells where on the
// sheet it came from, so a misplaced cell shows up as a wrong value.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "render/draw.h"
#include "render/raster.h"
#include "render/sprite_sheet.h"
#include "render/surface.h"

namespace bd::testing {

// Non-zero everywhere except the cells the game relies on being black:
// the ">" glyph (a blank) and the empty tile. The backdrop is plain blue.
inline TSurface MakeTestSheet() {
  TSurface sheet(kSheetWidth, kSheetHeight);
  for (int y = 0; y < kSheetHeight; ++y)
    for (int x = 0; x < kSheetWidth; ++x)
      sheet.data()[y * kSheetWidth + x] = (uint32_t(x) << 12) | uint32_t(y) | 0x800000u;
  FillBlack(sheet, GlyphCell('>').x, GlyphCell('>').y, kGlyphSize, kGlyphSize);
  FillBlack(sheet, TileCell(0).x, TileCell(0).y, kCellPixels, kCellPixels);
  for (int y = 0; y < kCellPixels; ++y)
    for (int x = 0; x < kCellPixels; ++x)
      sheet.data()[(kTitleBackdropCell.y + y) * kSheetWidth + kTitleBackdropCell.x + x] = kBackdropBlue;
  return sheet;
}

// True when the w x h square of `surface` at (x, y) equals the sheet's at `cell`.
inline bool SquareEquals(const TSurface& surface, int x, int y, const TSurface& sheet, TSheetCell cell, int w,
                         int h) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (surface.pixel(x + i, y + j) != sheet.pixel(cell.x + i, cell.y + j)) return false;
  return true;
}

inline bool SquareIs(const TSurface& surface, int x, int y, int w, int h, uint32_t colour) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (surface.pixel(x + i, y + j) != colour) return false;
  return true;
}

// Each character of `text` is its glyph ORed onto `under` at its text cell;
// a blank leaves `under`.
inline ::testing::AssertionResult TextDrawn(const TSurface& surface, const TSurface& sheet, int column,
                                            int row, const std::string& text, uint32_t under) {
  for (size_t i = 0; i < text.size(); ++i) {
    const int x = 16 * (column + int(i)), y = 16 * row;
    const TSheetCell glyph = GlyphCell(text[i]);
    for (int v = 0; v < 16; ++v)
      for (int u = 0; u < 16; ++u) {
        const uint32_t expected = text[i] == ' ' ? under : under | sheet.pixel(glyph.x + u, glyph.y + v);
        if (surface.pixel(x + u, y + v) != expected)
          return ::testing::AssertionFailure() << "'" << text << "' character " << i;
      }
  }
  return ::testing::AssertionSuccess();
}

// Every glyph of `text` has been ORed onto whatever lay at its text cell.
// The made-up sheet's glyph pixels carry their own coordinates, so a match
// by chance is out of the question.
inline bool GlyphsOredIn(const TSurface& surface, const TSurface& sheet, int column, int row,
                         const char* text) {
  for (int i = 0; text[i] != 0; ++i) {
    if (text[i] == ' ') continue;
    const TSheetCell glyph = GlyphCell(text[i]);
    for (int v = 0; v < 16; ++v)
      for (int u = 0; u < 16; ++u) {
        const uint32_t g = sheet.pixel(glyph.x + u, glyph.y + v);
        if ((surface.pixel(16 * (column + i) + u, 16 * row + v) & g) != g) return false;
      }
  }
  return true;
}

}  // namespace bd::testing
