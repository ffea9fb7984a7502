// Where the runner meets the guards: only guards that are free or trapped
// (State 1..31) count; crushed, respawning and climbing-out ones do not.
#pragma once

#include "game/play_state.h"

namespace bd {

// A counted guard on row y whose X is within 31 pixels of x.
bool GuardNear(const TGuardTable& guards, int x, int y);
// A counted guard exactly at (x, y).
bool GuardAt(const TGuardTable& guards, int x, int y);

}  // namespace bd
