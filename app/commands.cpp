// The menu commands of the File and Option menus and the editor's stage items.
#include "app/app.h"

namespace bd {

void TApp::GoToTitle() {
  GameMode = gmTitle;
  game.ForgetDeath();
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
  game.SelectStage(first_stage);
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
  sound.StopMusic();
  if (editor.file_name() != kNoStageFile) CaptionForFile(editor.file_name());
  editor.DrawEditStage();
}

void TApp::TestPlay() {
  menu.SetEnabled(TMenuItemId::EditMenu, false);
  services_.window.SetPaletteVisible(false);
  game.SelectStage(editor.current_stage());
  GameMode = gmTestPlay;
  StartStage();
}

void TApp::Quit() {
  if (!MayDiscardStages()) return;
  services_.window.CloseMainWindow();
}

void TApp::ToggleMusic() {
  sound.SetMusicOn(!sound.MusicOn());
  menu.SetChecked(TMenuItemId::ToggleMusic, sound.MusicOn());
}

void TApp::ToggleSound() {
  sound.SetSoundOn(!sound.SoundOn());
  menu.SetChecked(TMenuItemId::ToggleSound, sound.SoundOn());
}

void TApp::SelectEditStage(int index) {
  if (index < 0 || index >= kEditStageCount) return;
  editor.SelectStage(index);
  static constexpr TMenuItemId kStageItems[kEditStageCount] = {
      TMenuItemId::EditStage1, TMenuItemId::EditStage2, TMenuItemId::EditStage3,
      TMenuItemId::EditStage4, TMenuItemId::EditStage5, TMenuItemId::EditStage6};
  menu.SetChecked(kStageItems[index], true);
  editor.DrawEditStage();
}

void TApp::ClearEditedStage() {
  if (!services_.dialogs.MessageBox("Clear?", "BurrowDash", true)) return;
  editor.ClearShownStage();
  editor.DrawEditStage();
}

void TApp::ClearAllStages() {
  if (!services_.dialogs.MessageBox("All Clear?", "BurrowDash", true)) return;
  editor.ClearAllStages();
  editor.DrawEditStage();
  menu.SetChecked(TMenuItemId::EditStage1, true);
  SetCaption(kCaption);
}

void TApp::SaveStages() {
  const auto path = services_.dialogs.RunSaveDialog({"Save", kStageFileFilter, "bds", editor.file_name()});
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
  editor.SelectStage(0);
  menu.SetChecked(TMenuItemId::EditStage1, true);
  editor.DrawEditStage();
}

void TApp::PlayEditedSet() {
  if (!MayDiscardStages()) return;
  if (const auto path = AskForStageFile()) PlayStageFile(*path);
}

void TApp::PlayStageFile(const std::string& path) {
  if (!LoadStageFile(path)) return;
  game.SelectEditedSet();
  SetTitleCommandsEnabled(false);
  GameMode = gmGame;
  StartStage();
}

}  // namespace bd
