// TStageEditor, the stage editor's model: the six edited stages, the one
// shown, the tile the left button paints and the set's stage file, with
// painting, the editor's pictures (the stage on the screen, the palette's
// column of tiles) and the reading and writing steps of stage files. Modes,
// menus and dialogs are the program's; the editor reaches the window only to
// ask for repaints, and the disk through the file service.
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
// The palette: the nine tiles of codes 1..9 in a column, then the stage's digit and the selected tile.
inline constexpr int kPaletteTiles = 9;
inline constexpr int kPalettePictureWidth = 32;
inline constexpr int kPalettePictureHeight = 336;

enum class TMouseButton : uint8_t { Left, Right, Middle };

// The buttons held while the pointer moves.
struct TMouseButtons {
  bool left = false, right = false, middle = false;
};

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

  // A press on the screen at picture pixel (x, y): the left button paints
  // the selected tile, the right one erases, the middle one does nothing.
  // Only the interior cells can be painted; the frame is out of reach.
  void ScreenMouseDown(TMouseButton button, int x, int y);
  // The pointer moved with these buttons held: paints or erases as a press
  // would, so a drag paints every cell it passes.
  void ScreenMouseMove(TMouseButtons held, int x, int y);
  // A press on the palette picture: the left button above the stage digit
  // chooses the tile of that row.
  void PaletteMouseDown(TMouseButton button, int x, int y);

  // The six stages a stage file holds, or nothing, with the reason, when it
  // cannot be read or is not a whole stage file. Changes nothing.
  std::optional<TEditSet> ReadStageFile(const std::string& path, std::string& reason);
  // The stages of a file just read become the set, the file its file.
  void AdoptStageFile(const std::string& path, const TEditSet& loaded);
  // Writes the six stages to path; on success the path becomes the set's
  // file. False with the reason when nothing was written.
  bool WriteStageFile(const std::string& path, std::string& reason);
  // True when the stages differ from the set as last saved or loaded (six
  // cleared stages at start-up). A painted cell erased again is no change.
  bool HasUnsavedStages() const { return stages_ != saved_stages_; }

  // Start-up: six cleared stages, counted as saved, the first one shown.
  void Reset();
  // The stage the editor shows and paints, 0..5.
  void SelectStage(int32_t index) { current_stage_ = index; }
  // Puts a stage into the set, as painting it cell by cell would.
  void SetStage(int32_t index, const TStageGrid& grid) { stages_[index] = grid; }
  void SetCell(int32_t index, int column, int row, uint8_t code) { stages_[index].at(column, row) = code; }
  // Clear: the stage shown becomes an empty frame. All Clear: all six, the
  // first one shown and the set without a file.
  void ClearShownStage();
  void ClearAllStages();

  const TEditSet& stages() const { return stages_; }
  const TStageGrid& shown_stage() const { return stages_[current_stage_]; }
  int32_t current_stage() const { return current_stage_; }
  uint8_t selected_tile() const { return selected_tile_; }
  // The set's stage file, as the save dialog holds it.
  const std::string& file_name() const { return file_name_; }

 private:
  void Paint(int column, int row);
  void Erase(int column, int row);

  TEditSet stages_{};
  TEditSet saved_stages_{};  // the set as last saved or loaded
  int32_t current_stage_ = 0;
  uint8_t selected_tile_ = tcBrick;
  std::string file_name_ = kNoStageFile;

  TEditorSurfaces surfaces_;
  platform::WindowService& window_;
  platform::FileService& files_;
};

}  // namespace bd
