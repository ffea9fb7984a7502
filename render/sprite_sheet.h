// Where every picture lies on the sprite sheet (sprite_sheet). Actor frames and
// their masks are addressed only through these functions.
#pragma once

#include <cstdint>

#include "stage/tile_codes.h"

namespace bd {

struct TSheetCell {
  int x;
  int y;
  bool operator==(const TSheetCell&) const = default;
};

inline constexpr int kSheetWidth = 576;
inline constexpr int kSheetHeight = 480;
inline constexpr int kGlyphSize = 16;

inline constexpr int kRunnerFrameCount = 54;
inline constexpr int kGuardFrameCount = 36;

inline constexpr TSheetCell RunnerSpriteCell(int n) { return {32 * (n % 18), 32 * (n / 18)}; }
inline constexpr TSheetCell RunnerMaskCell(int n) { return {32 * (n % 18), 256 + 32 * (n / 18)}; }
inline constexpr TSheetCell GuardSpriteCell(int g) { return {32 * (g % 18), 96 + 32 * (g / 18)}; }
inline constexpr TSheetCell GuardMaskCell(int g) { return {32 * (g % 18), 352 + 32 * (g / 18)}; }

// Tile code t (0..9) as the editor and the stage background show it.
inline constexpr TSheetCell TileCell(int t) { return {32 * t, 160}; }

// The three ladder and gold pictures, and the four-step order they cycle in.
inline constexpr int kLadderFramesX = 320;
inline constexpr int kGoldFramesX = 416;
inline constexpr int kCycleStep[4] = {0, 1, 2, 1};
inline constexpr TSheetCell LadderFrameCell(int step) {
  return {kLadderFramesX + 32 * kCycleStep[step & 3], 160};
}
inline constexpr TSheetCell GoldFrameCell(int step) {
  return {kGoldFramesX + 32 * kCycleStep[step & 3], 160};
}

// A hole's picture by its counter: digging 1..11, refilling 97..101.
inline constexpr bool HoleCounterShown(int counter) {
  return (counter >= 1 && counter <= 11) || (counter >= 97 && counter <= 101);
}
inline constexpr TSheetCell HoleFrameCell(int counter) {
  return {counter <= 11 ? 32 * (counter - 1) : 32 * (counter - 86), 192};
}
inline constexpr int kHoleDigFrames = 11;
inline constexpr int kHoleRefillFrames = 5;

// The 16 x 16 glyph of a character code, taken as a signed byte.
inline constexpr TSheetCell GlyphCell(char c) {
  const int v = static_cast<int8_t>(c) - 48;
  return {16 * (v & 31), 16 * (14 + v / 32)};
}

inline constexpr TSheetCell kTitleBackdropCell{0, 416};
inline constexpr TSheetCell kTitleLogoCell{32, 416};
inline constexpr int kTitleLogoWidth = 448;
inline constexpr int kTitleLogoHeight = 49;

// The colour keys of the sheet, as surface pixels.
inline constexpr uint32_t kBlack = 0x000000u;
inline constexpr uint32_t kWhite = 0xFFFFFFu;
inline constexpr uint32_t kBackdropBlue = 0x0058F8u;

}  // namespace bd
