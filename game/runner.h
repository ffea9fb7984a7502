// The runner's movement and poses in one play tick.
#pragma once

#include "game/actor_cells.h"
#include "game/play_state.h"
#include "game/tick_input.h"

namespace bd {

// The runner moves 8 pixels a tick, across and up or down.
inline constexpr int kRunnerStep = 8;

// Rules M1 (step into a gap on the right), M2 (fall) and M3 (keys), the
// first that applies deciding the tick. True when the runner moved.
bool MoveRunner(TPlayState& play, const TTickInput& input);

// The pose of a runner who did not move: hanging, holding still on a ladder,
// or standing and, after a while, looking about.
void SetIdleFrames(TRunner& runner, const TActorCells& cells);

// A runner standing on a counted guard's head is held up by it.
bool StandsOnGuard(const TPlayState& play, int x, int y);

}  // namespace bd
