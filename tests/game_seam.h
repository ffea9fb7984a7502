// The one way a test puts the game into a made-up moment: the change is made
// on a copy of the game's state, which then replaces it whole.
#pragma once

#include "game/game.h"

namespace bd::testing {

template <typename TChange>
void EditGame(TGame& game, TChange&& change) {
  TGameState state = game.state();
  change(state);
  game.Restore(state);
}

}  // namespace bd::testing
