// Timer1Timer, the play tick.
#include "app/main_window.h"

namespace bd {

void TForm1::Timer1Timer() {
  if ((game.GameMode != gmGame && game.GameMode != gmTestPlay) || Paused()) return;
  // The runner, holes, guards and stage flow of a tick arrive with the play rules.
}

}  // namespace bd
