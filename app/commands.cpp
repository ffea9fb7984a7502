// The menu commands of the File and Option menus and the editor's stage items.
#include "app/main_window.h"

namespace bd {

using enum TMenuItemId;

void TForm1::Reset1Click() {
  game.GameMode = gmTitle;
  play.runner.DeathTicks = 0;
  DisablePlayCommands();
  SetTimer1(false);
  SetTitleCommandsEnabled(true);
  MainMenu1.SetEnabled(Edit2, false);
  services_.window.SetPaletteVisible(false);
  ShowTitle();
}

void TForm1::Replay1Click() {
  // The play tick then plays the death as if the runner had been caught.
  play.runner.DeathTicks = 1;
}

void TForm1::PAUSE1Click() {
  if (!MainMenu1.Checked(PAUSE1)) {
    SetTimer1(false);
    MainMenu1.SetChecked(PAUSE1, true);
  } else {
    SetTimer1(true);
    MainMenu1.SetChecked(PAUSE1, false);
  }
}

void TForm1::Start1Click() {
  SetTitleCommandsEnabled(false);
  game.StageIndex = 0;
  game.GameMode = gmGame;
  SetCaption(kCaption);
  StartStage();
}

void TForm1::Edit1Click() {
  game.GameMode = gmEdit;
  SetTitleCommandsEnabled(false);
  DisablePlayCommands();
  SetTimer1(false);
  MainMenu1.SetEnabled(Edit2, true);
  services_.window.SetPaletteVisible(true);
  if (game.MusicOn) music_.StopMusic();
  if (SaveDialogFileName != kNoStageFile) CaptionForFile(SaveDialogFileName);
  DrawEditStage();
}

void TForm1::TestPlay1Click() {
  MainMenu1.SetEnabled(Edit2, false);
  services_.window.SetPaletteVisible(false);
  game.StageIndex = EditStage;
  game.GameMode = gmTestPlay;
  StartStage();
}

void TForm1::Exit1Click() { services_.window.CloseMainWindow(); }

void TForm1::Music1Click() {
  if (game.MusicOn) {
    game.MusicOn = false;
    MainMenu1.SetChecked(Music1, false);
    music_.StopMusic();  // the one stop that is not guarded by MusicOn
  } else {
    // Starts nothing: the next music cue plays.
    game.MusicOn = true;
    MainMenu1.SetChecked(Music1, true);
  }
}

void TForm1::Sound1Click() {
  game.SoundOn = !game.SoundOn;
  MainMenu1.SetChecked(Sound1, game.SoundOn);
}

void TForm1::N11Click(int tag) {
  if (tag < 0 || tag >= kEditStageCount) return;
  EditStage = tag;
  static constexpr TMenuItemId kStageItems[kEditStageCount] = {N11, N21, N31, N41, N51, N61};
  MainMenu1.SetChecked(kStageItems[tag], true);
  DrawEditStage();
}

void TForm1::New1Click() {
  if (!services_.dialogs.MessageBox("Clear?", "BurrowDash", true)) return;
  ClearToFrame(EditSet.stages[EditStage]);
  DrawEditStage();
}

void TForm1::AllClear1Click() {
  if (!services_.dialogs.MessageBox("All Clear?", "BurrowDash", true)) return;
  ClearAll(EditSet);
  EditStage = 0;
  DrawEditStage();
  MainMenu1.SetChecked(N11, true);
  SetCaption(kCaption);
  SaveDialogFileName = kNoStageFile;
}

// Stage files (Open, Save, Play Edit) arrive with the stage-file work; until
// then these commands do nothing.
void TForm1::Open1Click() {}
void TForm1::Save1Click() {}
void TForm1::PlayEdit1Click() {}

}  // namespace bd
