// The guards' step of the play tick: every slot, in index order, decides on
// climbing, falling or walking, moves, can be crushed, is drawn and may
// catch the runner.
#pragma once

#include "game/play_state.h"
#include "game/random.h"
#include "render/play_painter.h"

namespace bd {

// Guard states: free at 1, trapped and counting from 2 to 40, crushed and
// waiting from 52, picking a column at 70, materializing up to 75.
inline constexpr int kGuardFree = 1;
inline constexpr int kGuardTrapped = 2;
inline constexpr int kGuardLastCounted = 31;  // up to here the runner meets it
// The last counts in a hole: the guard shakes left and right before it climbs out.
inline constexpr int kGuardShakesRightAt1 = 37, kGuardShakesRightAt2 = 39;
inline constexpr int kGuardShakesLeftAt1 = 36, kGuardShakesLeftAt2 = 38;
inline constexpr int kGuardShakePixels = 2;
inline constexpr int kGuardClimbsOut = 40;
inline constexpr int kGuardCrushed = 52;
inline constexpr int kGuardPicksColumn = 70;
inline constexpr int kGuardReturns = 75;

// One step of every guard slot, each guard drawn as its step ends when there
// is a painter. True when a guard was crushed in it, for the caller to sound.
bool GuardPass(TPlayState& play, TRandom& random, TPlayPainter* painter);

}  // namespace bd
