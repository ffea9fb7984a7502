// Digging and the hole table: a dug brick stays open for a fixed time, then
// fills in again and crushes whatever overlaps it.
#pragma once

#include "game/play_state.h"
#include "game/runner.h"
#include "render/play_painter.h"

namespace bd {

// Hole timer values: open from 4, brick again at 102.
inline constexpr int kHoleOpensAt = 4;
inline constexpr int kHoleClosesAt = 102;
inline constexpr int kDigTicks = 10;
// While digging he slides this far a tick back onto his home cell.
inline constexpr int kDigSlidePixels = 8;

// One step of every hole in slot order. The painter, when there is one,
// shows each hole's frame and puts the brick back into the background.
void HolePass(TPlayState& play, TPlayPainter* painter);

// A hole at stage cell (column, row) in the first free slot, then one extra
// pass. With all 32 slots in use nothing is made.
void CreateHole(TPlayState& play, TPlayPainter* painter, int column, int row);

// The dig commands, after this tick's movement. True when a dig started (a
// hole was made or the table was full); the caller sounds it.
bool TryDig(TPlayState& play, const TTickInput& input, TPlayPainter* painter);

// While DigTicks runs down the runner holds still, sliding onto his home cell.
void DiggingPause(TRunner& runner);

// True when the runner overlaps a brick (a hole filled in on him).
bool RunnerCrushed(const TPlayState& play);

}  // namespace bd
