#include "tools/sheet/sheet_builder.h"

#include <map>
#include <string>

#include "render/sprite_sheet.h"

namespace bd::art {
namespace {

struct Frame {
  const char* sprite;  // nullptr: the cell stays black
  bool mirrored = false;
};

// Right-facing frames are the left-facing ones mirrored.
constexpr Frame kRunnerFrames[kRunnerFrameCount] = {
    {"runner_run_0"},
    {"runner_run_1"},
    {"runner_run_2"},
    {"runner_run_3"},
    {"runner_fall_0"},
    {"runner_fall_1"},
    {"runner_fall_2"},
    {"runner_fall_3"},
    {"runner_climb_0"},
    {"runner_climb_1"},
    {"runner_climb_2"},
    {"runner_climb_3"},
    {"runner_bar_0"},
    {"runner_bar_1"},
    {"runner_bar_2"},
    {"runner_bar_3"},
    {"runner_dig_0"},
    {"runner_dig_1"},
    {"runner_run_0", true},
    {"runner_run_1", true},
    {"runner_run_2", true},
    {"runner_run_3", true},
    {"runner_fall_0", true},
    {"runner_fall_1", true},
    {"runner_fall_2", true},
    {"runner_fall_3", true},
    {nullptr},
    {nullptr},
    {nullptr},
    {nullptr},
    {"runner_bar_0", true},
    {"runner_bar_1", true},
    {"runner_bar_2", true},
    {"runner_bar_3", true},
    {"runner_dig_0", true},
    {"runner_dig_1", true},
    {"runner_die_0"},
    {"runner_die_1"},
    {"runner_die_2"},
    {"runner_die_3"},
    {"runner_die_4"},
    {"runner_die_5"},
    {"runner_die_6"},
    {"runner_die_7"},
    {nullptr},
    {"runner_dance_0"},
    {"runner_dance_1"},
    {"runner_dance_2"},
    {"runner_dance_3"},
    {nullptr},
    {nullptr},
    {nullptr},
    {nullptr},
    {nullptr},
};

constexpr Frame kGuardFrames[kGuardFrameCount] = {
    {"guard_run_0"},
    {"guard_run_1"},
    {"guard_run_2"},
    {"guard_run_3"},
    {"guard_fall_0"},
    {"guard_fall_1"},
    {"guard_climb_0"},
    {"guard_climb_1"},
    {"guard_climb_2"},
    {"guard_climb_3"},
    {"guard_bar_0"},
    {"guard_bar_1"},
    {"guard_bar_2"},
    {"guard_bar_3"},
    {"guard_bubble_0"},
    {"guard_bubble_1"},
    {"guard_bubble_2"},
    {"guard_bubble_3"},
    {"guard_run_0", true},
    {"guard_run_1", true},
    {"guard_run_2", true},
    {"guard_run_3", true},
    {"guard_fall_0", true},
    {"guard_fall_1", true},
    {nullptr},
    {nullptr},
    {nullptr},
    {nullptr},
    {"guard_bar_0", true},
    {"guard_bar_1", true},
    {"guard_bar_2", true},
    {"guard_bar_3", true},
    {nullptr},
    {nullptr},
    {nullptr},
    {nullptr},
};

// Tile codes 0..9; the two start markers are the actors themselves.
constexpr Frame kTiles[10] = {
    {nullptr},     {"tile_brick"},  {"tile_solid"}, {"tile_ladder"}, {"tile_bar"},
    {"tile_trap"}, {"tile_hidden"}, {"tile_gold"},  {"guard_run_0"}, {"runner_run_0", true},
};

constexpr const char* kGlyphNames[][2] = {
    {":", "glyph_colon"},
    {";", "glyph_semicolon"},
    {"@", "glyph_at"},
};

constexpr const char* kLogoText = "BURROW DASH";
constexpr int kLogoLetterGap = 4;
constexpr int kLogoSpaceWidth = 20;
constexpr uint32_t kLogoShadow = 0x002878u;

void Put(TSurface& surface, int x, int y, uint32_t colour) {
  surface.data()[y * surface.width() + x] = colour;
}

// Puts a sprite into a w x h cell, scaled by the whole factor that fills it.
void Place(TSurface& sheet, const Sprite& sprite, int x0, int y0, int w, int h, bool mirrored,
           const std::string& name) {
  const int scale = w / sprite.width;
  if (scale < 1 || sprite.width * scale != w || sprite.height * scale != h)
    throw ArtError(name + " is " + std::to_string(sprite.width) + "x" + std::to_string(sprite.height) +
                   ", which does not scale to " + std::to_string(w) + "x" + std::to_string(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int sx = mirrored ? sprite.width - 1 - x / scale : x / scale;
      Put(sheet, x0 + x, y0 + y, sprite.at(sx, y / scale));
    }
}

void PlaceFrame(TSurface& sheet, const ArtSet& art, const Frame& frame, TSheetCell cell) {
  if (frame.sprite != nullptr)
    Place(sheet, art.Get(frame.sprite), cell.x, cell.y, kCellPixels, kCellPixels, frame.mirrored, frame.sprite);
}

// Mask cell: black where the sprite has colour, white where it is black.
void MakeMask(TSurface& sheet, TSheetCell sprite, TSheetCell mask) {
  for (int y = 0; y < kCellPixels; ++y)
    for (int x = 0; x < kCellPixels; ++x) {
      const uint32_t colour = sheet.pixel(sprite.x + x, sprite.y + y);
      Put(sheet, mask.x + x, mask.y + y, colour == kBlack ? kWhite : kBlack);
    }
}

void Fill(TSurface& sheet, int x0, int y0, int w, int h, uint32_t colour) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) Put(sheet, x, y, colour);
}

// Digging eats the brick from the top down until the cell is black; refilling
// builds it back from the bottom until it is whole.
void MakeHoleFrames(TSurface& sheet) {
  const TSheetCell brick = TileCell(1);
  auto copy_rows = [&](TSheetCell to, int from_row) {
    for (int y = 0; y < kCellPixels; ++y)
      for (int x = 0; x < kCellPixels; ++x)
        Put(sheet, to.x + x, to.y + y, y < from_row ? kBlack : sheet.pixel(brick.x + x, brick.y + y));
  };
  for (int c = 1; c <= kHoleDigFrames; ++c) copy_rows(HoleFrameCell(c), kCellPixels * c / kHoleDigFrames);
  for (int j = 1; j <= kHoleRefillFrames; ++j)
    copy_rows(HoleFrameCell(96 + j), kCellPixels - kCellPixels * j / kHoleRefillFrames);
}

void MakeLogo(TSurface& sheet, const ArtSet& art) {
  const int x0 = kTitleLogoCell.x;
  const int y0 = kTitleLogoCell.y;
  int width = 0;
  for (const char* p = kLogoText; *p; ++p)
    width += (*p == ' ' ? kLogoSpaceWidth : art.Get(std::string("logo_") + *p).width * 2) +
             (p[1] ? kLogoLetterGap : 0);
  if (width > kTitleLogoWidth) throw ArtError("the logo letters are too wide");
  TSurface letters(kTitleLogoWidth, kTitleLogoHeight);
  Fill(letters, 0, 0, kTitleLogoWidth, kTitleLogoHeight, kBackdropBlue);
  int x = (kTitleLogoWidth - width) / 2;
  for (const char* p = kLogoText; *p; ++p) {
    if (*p == ' ') {
      x += kLogoSpaceWidth + kLogoLetterGap;
      continue;
    }
    const std::string name = std::string("logo_") + *p;
    const Sprite& letter = art.Get(name);
    if (letter.height * 2 > kTitleLogoHeight - 1) throw ArtError(name + " is too tall");
    Place(letters, letter, x, 0, letter.width * 2, letter.height * 2, false, name);
    x += letter.width * 2 + kLogoLetterGap;
  }
  // A drop shadow one pixel down and three right, on the backdrop only.
  Fill(sheet, x0, y0, kTitleLogoWidth, kTitleLogoHeight, kBackdropBlue);
  for (int y = 0; y < kTitleLogoHeight; ++y)
    for (int x1 = 0; x1 < kTitleLogoWidth; ++x1) {
      const uint32_t own = letters.pixel(x1, y);
      uint32_t out = own;
      if (own == kBackdropBlue && x1 >= 3 && y >= 1 && letters.pixel(x1 - 3, y - 1) != kBackdropBlue)
        out = kLogoShadow;
      Put(sheet, x0 + x1, y0 + y, out);
    }
}

}  // namespace

TSurface BuildSpriteSheet(const ArtSet& art) {
  TSurface sheet(kSheetWidth, kSheetHeight);
  for (int n = 0; n < kRunnerFrameCount; ++n) {
    PlaceFrame(sheet, art, kRunnerFrames[n], RunnerSpriteCell(n));
    MakeMask(sheet, RunnerSpriteCell(n), RunnerMaskCell(n));
  }
  for (int g = 0; g < kGuardFrameCount; ++g) {
    PlaceFrame(sheet, art, kGuardFrames[g], GuardSpriteCell(g));
    MakeMask(sheet, GuardSpriteCell(g), GuardMaskCell(g));
  }
  for (int t = 0; t < 10; ++t) PlaceFrame(sheet, art, kTiles[t], TileCell(t));
  for (int i = 0; i < 3; ++i) {
    PlaceFrame(sheet, art, {("ladder_" + std::to_string(i)).c_str()}, {kLadderFramesX + 32 * i, 160});
    PlaceFrame(sheet, art, {("gold_" + std::to_string(i)).c_str()}, {kGoldFramesX + 32 * i, 160});
  }
  MakeHoleFrames(sheet);

  auto place_glyph = [&](char c, const std::string& name) {
    const TSheetCell cell = GlyphCell(c);
    Place(sheet, art.Get(name), cell.x, cell.y, kGlyphSize, kGlyphSize, false, name);
  };
  for (char c = '0'; c <= '9'; ++c) place_glyph(c, std::string("glyph_") + c);
  for (char c = 'A'; c <= 'Z'; ++c) place_glyph(c, std::string("glyph_") + c);
  for (const auto& [c, name] : kGlyphNames) place_glyph(c[0], name);

  // The band: backdrop blue everywhere but the logo.
  Fill(sheet, 0, kTitleBackdropCell.y, kSheetWidth, kSheetHeight - kTitleBackdropCell.y, kBackdropBlue);
  MakeLogo(sheet, art);
  return sheet;
}

IndexedPicture ToIndexed(const TSurface& sheet) {
  IndexedPicture picture{sheet.width(), sheet.height(), {kBlack}, {}};
  std::map<uint32_t, uint8_t> index_of{{kBlack, 0}};
  picture.indices.reserve(size_t(sheet.width()) * sheet.height());
  for (int i = 0; i < sheet.width() * sheet.height(); ++i) {
    const uint32_t colour = sheet.data()[i];
    auto found = index_of.find(colour);
    if (found == index_of.end()) {
      if (picture.colours.size() == 256) throw ArtError("the sheet has more than 256 colours");
      found = index_of.emplace(colour, uint8_t(picture.colours.size())).first;
      picture.colours.push_back(colour);
    }
    picture.indices.push_back(found->second);
  }
  return picture;
}

}  // namespace bd::art
