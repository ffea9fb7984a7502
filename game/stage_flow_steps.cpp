// Steps of the play tick that belong to the guards and to the stage's flow
// (gold, the escape, the tally and the ending texts). Each runs at its place
// in Timer1Timer; the rules they carry are still to be written, so for now
// gold stays where it lies, no guard moves and no stage is cleared.
#include "app/main_window.h"

namespace bd {

void TForm1::GoldPickup() {}
void TForm1::EndingTexts() {}
void TForm1::RevealHiddenLadders() {}
void TForm1::MoveGuards() {}
void TForm1::ClearStage() {}
void TForm1::TallyTick() {}

}  // namespace bd
