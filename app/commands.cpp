// The menu commands of the File and Option menus and the editor's stage items.
#include "app/app.h"

namespace bd {

void TApp::GoToTitle() {
  GameMode = gmTitle;
  game.play.runner.DeathTicks = 0;
  DisablePlayCommands();
  SetPlayClock(false);
  SetTitleCommandsEnabled(true);
  menu.SetEnabled(TMenuItemId::EditMenu, false);
  services_.window.SetPaletteVisible(false);
  ShowTitle();
}

void TApp::GiveUp() { game.GiveUp(); }

void TApp::Pause() {
  if (!menu.Checked(TMenuItemId::Pause)) {
    SetPlayClock(false);
    menu.SetChecked(TMenuItemId::Pause, true);
  } else {
    SetPlayClock(true);
    menu.SetChecked(TMenuItemId::Pause, false);
  }
}

void TApp::StartGame(int first_stage) {
  SetTitleCommandsEnabled(false);
  game.progress.StageIndex = first_stage;
  GameMode = gmGame;
  SetCaption(kCaption);
  StartStage();
}

void TApp::EditMode() {
  GameMode = gmEdit;
  SetTitleCommandsEnabled(false);
  DisablePlayCommands();
  SetPlayClock(false);
  menu.SetEnabled(TMenuItemId::EditMenu, true);
  services_.window.SetPaletteVisible(true);
  if (sound.MusicOn) sound.music.StopMusic();
  if (editor.file_name != kNoStageFile) CaptionForFile(editor.file_name);
  editor.DrawEditStage();
}

void TApp::TestPlay() {
  menu.SetEnabled(TMenuItemId::EditMenu, false);
  services_.window.SetPaletteVisible(false);
  game.progress.StageIndex = editor.current_stage;
  GameMode = gmTestPlay;
  StartStage();
}

void TApp::Quit() {
  if (!MayDiscardStages()) return;
  services_.window.CloseMainWindow();
}

void TApp::ToggleMusic() {
  if (sound.MusicOn) {
    sound.MusicOn = false;
    menu.SetChecked(TMenuItemId::ToggleMusic, false);
    sound.music.StopMusic();  // the one stop that is not guarded by MusicOn
  } else {
    // Starts nothing: the next music cue plays.
    sound.MusicOn = true;
    menu.SetChecked(TMenuItemId::ToggleMusic, true);
  }
}

void TApp::ToggleSound() {
  sound.SoundOn = !sound.SoundOn;
  menu.SetChecked(TMenuItemId::ToggleSound, sound.SoundOn);
}

void TApp::SelectEditStage(int index) {
  if (index < 0 || index >= kEditStageCount) return;
  editor.current_stage = index;
  static constexpr TMenuItemId kStageItems[kEditStageCount] = {
      TMenuItemId::EditStage1, TMenuItemId::EditStage2, TMenuItemId::EditStage3,
      TMenuItemId::EditStage4, TMenuItemId::EditStage5, TMenuItemId::EditStage6};
  menu.SetChecked(kStageItems[index], true);
  editor.DrawEditStage();
}

void TApp::ClearEditedStage() {
  if (!services_.dialogs.MessageBox("Clear?", "BurrowDash", true)) return;
  ClearToFrame(editor.stages[editor.current_stage]);
  editor.DrawEditStage();
}

void TApp::ClearAllStages() {
  if (!services_.dialogs.MessageBox("All Clear?", "BurrowDash", true)) return;
  ClearAll(editor.stages);
  editor.current_stage = 0;
  editor.DrawEditStage();
  menu.SetChecked(TMenuItemId::EditStage1, true);
  SetCaption(kCaption);
  editor.file_name = kNoStageFile;
}

void TApp::SaveStages() {
  const auto path = services_.dialogs.RunSaveDialog({"Save", kStageFileFilter, "bds", editor.file_name});
  if (!path) return;
  std::string reason;
  if (!editor.WriteStageFile(*path, reason)) {
    // The previous file, the caption and the set's file name stay as they were.
    services_.dialogs.MessageBox("Could not save " + *path + ": " + reason, kCaption, false);
    return;
  }
  CaptionForFile(*path);
}

void TApp::OpenStages() {
  if (!MayDiscardStages()) return;
  if (const auto path = AskForStageFile()) OpenStageFile(*path);
}

void TApp::OpenStageFile(const std::string& path) {
  if (!LoadStageFile(path)) return;
  editor.current_stage = 0;
  menu.SetChecked(TMenuItemId::EditStage1, true);
  editor.DrawEditStage();
}

void TApp::PlayEditedSet() {
  if (!MayDiscardStages()) return;
  if (const auto path = AskForStageFile()) PlayStageFile(*path);
}

void TApp::PlayStageFile(const std::string& path) {
  if (!LoadStageFile(path)) return;
  game.progress.PlayEditSet = true;
  SetTitleCommandsEnabled(false);
  game.progress.StageIndex = 0;
  GameMode = gmGame;
  StartStage();
}

}  // namespace bd
