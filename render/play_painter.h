// The picture of a stage in play. Play hands the painter what to draw at the
// moments it changes something visible; the painter knows where each thing
// goes on the screen and the background. Play without a painter runs
// headless (the planner, tests of rules), with one its pictures are the game's.
#pragma once

#include <cstdint>

#include "render/surface.h"

namespace bd {

// Text cells (16 x 16) of the stage banner, the score lines and the tally.
inline constexpr int kBannerColumn = 8, kBannerRow = 9;
inline constexpr int kScoreColumn = 10, kScoreRow = 19;
inline constexpr int kHiScoreColumn = 8, kHiScoreRow = 21;
inline constexpr int kTallyGoldColumn = 14, kTallyGoldRow = 6;
inline constexpr int kTallyCrushColumn = 14, kTallyCrushRow = 9;
inline constexpr int kTallyTotalColumn = 8, kTallyTotalRow = 15;
// Where the runner dances on the tally screen.
inline constexpr int kTallyRunnerX = 128, kTallyRunnerY = 320;

// The two closing lines of the ending, and where they stand.
enum class TEndingLine : uint8_t { Thanks, Credit };
inline constexpr const char* kThanksLine = "THANKS FOR YOUR PLAYING";
inline constexpr const char* kCreditLine = "BY THE BURROW DASH CREW";
inline constexpr int kThanksColumn = 4, kThanksRow = 17;
inline constexpr int kCreditColumn = 9, kCreditRow = 20;

class TPlayPainter {
 public:
  TPlayPainter(TSurface& screen, TSurface& background, const TSurface& sprite_sheet)
      : screen_(screen), background_(background), sheet_(sprite_sheet) {}

  // Stage start: one stage cell's picture into the background, then either
  // the banner on black or the stage itself on the screen.
  void PaintStageCell(int column, int row, uint8_t code);
  void ShowBanner(int stage_number, int lives, int score, int hiscore);
  void ShowStage();
  // SCORE and HISCORE lines, in units of 100 points.
  void DrawScoreLines(int score, int hiscore);

  // The steps of a tick.
  void EraseActor(int x, int y);
  void DrawGold(int gold_ticks, int x, int y);
  void DrawLadder(int ladder_ticks, int x, int y);
  void ClearTakenGold(int x, int y);
  void DrawRunner(int frame, int x, int y);
  void DrawGuard(int frame, int x, int y);
  void DrawHole(int counter, int column, int row);
  void OpenHoleInBackground(int column, int row);
  void RefillHoleInBackground(int column, int row);
  void DrawEndingLine(TEndingLine line);

  // The tally screen and the square its dancing runner is drawn on.
  void ShowTally(int gold, int crushed);
  void ClearTallyRunner(int x, int y);

 private:
  TSurface& screen_;
  TSurface& background_;
  const TSurface& sheet_;
};

}  // namespace bd
