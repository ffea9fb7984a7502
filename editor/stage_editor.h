// TStageEditor, the stage editor's model: the six edited stages, the one
// shown, the tile the left button paints and the set's stage file, with the
// editor's pictures (the stage on the screen, the palette's column of tiles)
// and the reading step of stage files. Modes, menus and dialogs are the
// program's; the editor reaches the window only to ask for repaints.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/services.h"
#include "render/surface.h"
#include "stage/edit_set.h"
#include "stage/tile_codes.h"

namespace bd {

// The set's file name when it has none: what the save dialog starts with.
inline constexpr const char* kNoStageFile = "*.bds";
inline constexpr int kPalettePictureWidth = 32;
inline constexpr int kPalettePictureHeight = 336;

// The pictures the editor draws on and from; the program owns them.
struct TEditorSurfaces {
  TSurface& screen;
  TSurface& palette_picture;
  const TSurface& sprite_sheet;
};

class TStageEditor {
 public:
  TStageEditor(TEditorSurfaces surfaces, platform::WindowService& window, platform::FileService& files)
      : surfaces_(surfaces), window_(window), files_(files) {}
  TStageEditor(const TStageEditor&) = delete;
  TStageEditor& operator=(const TStageEditor&) = delete;

  // The stage shown, cell by cell, on the screen.
  void DrawEditStage();
  // The palette window's picture: drawn when the palette is created, and its
  // stage digit whenever the stage shown changes.
  void DrawPalette();
  void DrawStageNumber();

  // The six stages a stage file holds, or nothing when it cannot be read or
  // is not a whole stage file. Changes nothing.
  std::optional<TEditSet> ReadStageFile(const std::string& path);

  TEditSet stages{};
  int32_t current_stage = 0;
  uint8_t selected_tile = tcBrick;
  // The set's stage file, as the save dialog holds it.
  std::string file_name = kNoStageFile;

 private:
  TEditorSurfaces surfaces_;
  platform::WindowService& window_;
  platform::FileService& files_;
};

}  // namespace bd
