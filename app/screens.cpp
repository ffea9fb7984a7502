// The screens outside play: title, game over, and the editor's stage view.
// Their pictures come from the sprite sheet; until it is part of the game
// these screens are blank and only their state changes are made.
#include "app/main_window.h"

namespace bd {

void TForm1::ShowTitle() {
  Image1.FillBlack();
  game.TitleChoice = 1;
  services_.window.InvalidateImage1();
  SetCaption(kCaption);
  game.GameMode = gmTitle;
  game.Lives = 5;
  game.Score = 0;
  game.PlayEditSet = false;
  if (game.MusicOn) music_.StartMusic("tit.mid");
}

void TForm1::ShowGameOver() {
  Image1.FillBlack();
  game.GameMode = gmGameOver;
  play.runner.DeathTicks = 0;
  play.phase = spCollect;
  if (game.MusicOn) music_.StartMusic("mus3.mid");
  services_.window.InvalidateImage1();
}

void TForm1::TitleCursorUp() {
  services_.window.InvalidateImage1();
  game.TitleChoice = 1;
}

void TForm1::TitleCursorDown() {
  services_.window.InvalidateImage1();
  game.TitleChoice = 2;
}

void TForm1::DrawEditStage() {
  Image1.FillBlack();
  services_.window.InvalidatePalette();
  services_.window.InvalidateImage1();
}

}  // namespace bd
