#include "app/app.h"

#include "app/file_name.h"
#include "render/draw.h"

namespace bd {

TApp::TApp(const platform::Services& services)
    : painter(screen, background, sprite_sheet_),
      sound(services.audio, services.dialogs),
      editor(TEditorSurfaces{screen, palette_picture, sprite_sheet_}, services.window, services.files),
      services_(services) {
  game.AttachPainter(&painter);
}

void TApp::Startup() {
  const std::string exe = services_.window.ExecutablePath();
  ProgramFolder = exe.substr(0, exe.size() - FileNamePart(exe).size());
  sound.SetFolder(ProgramFolder);

  const platform::ScreenSize screen_size = services_.window.GetScreenSize();
  // The same 256 for both axes; border and menu bar are not counted. Left may go negative.
  const int left = screen_size.width / 2 - 256;
  int top = screen_size.height / 2 - 256;
  if (top < 0) top = 0;
  services_.window.PlaceMainWindow(left, top, kImageWidth, kImageHeight);

  // The surfaces' first content is never seen: the title and every stage start cover it.
  CopyCell(screen, 0, 0, sprite_sheet_, {0, 0}, kImageWidth, kImageHeight);
  CopyCell(background, 0, 0, sprite_sheet_, {0, 0}, kImageWidth, kImageHeight);

  joy = TJoystickState{};
  platform::JoyCaps caps;
  if (services_.joystick.GetCaps(caps)) SetJoystickLimits(joy, caps);

  menu.SetEnabled(TMenuItemId::EditMenu, false);

  sound.SetSoundOn(true);
  sound.SetMusicOn(true);
  game.ResetHiScore();

  editor.Reset();

  ShowTitle();

  game.SeedRandom(services_.clock.TimeSeed());
}

void TApp::RunCommand(TMenuItemId id) {
  if (!menu.Active(id)) return;
  switch (id) {
    case TMenuItemId::GoToTitle: return GoToTitle();
    case TMenuItemId::GiveUp: return GiveUp();
    case TMenuItemId::Pause: return Pause();
    case TMenuItemId::StartGame: return StartGame();
    case TMenuItemId::EditMode: return EditMode();
    case TMenuItemId::PlayEditedSet: return PlayEditedSet();
    case TMenuItemId::Quit: return Quit();
    case TMenuItemId::OpenStages: return OpenStages();
    case TMenuItemId::SaveStages: return SaveStages();
    case TMenuItemId::EditStage1:
    case TMenuItemId::EditStage2:
    case TMenuItemId::EditStage3:
    case TMenuItemId::EditStage4:
    case TMenuItemId::EditStage5:
    case TMenuItemId::EditStage6: return SelectEditStage(menu.Item(id).tag);
    case TMenuItemId::TestPlay: return TestPlay();
    case TMenuItemId::ClearAllStages: return ClearAllStages();
    case TMenuItemId::ClearEditedStage: return ClearEditedStage();
    case TMenuItemId::ToggleMusic: return ToggleMusic();
    case TMenuItemId::ToggleSound: return ToggleSound();
    case TMenuItemId::ShowKeys: return ShowKeys();
    case TMenuItemId::ShowAbout: return ShowAbout();
    default: return;  // menus and separators have no command
  }
}

void TApp::PlayTick() {
  if ((GameMode != gmGame && GameMode != gmTestPlay) || Paused()) return;
  sound.Play(game.PlayTick(MergeInput(keys_, joy, sound.MusicOn())));
  services_.window.InvalidateScreen();
}

void TApp::PollJoystick() {
  if (!joy.JoyPresent) return;
  platform::JoyPos pos;
  if (!services_.joystick.GetPos(pos)) return;  // states keep their last good values
  const TJoyPollResult actions = ApplyJoystickPosition(joy, pos);
  // Cursor steps come before the confirm, so stick up with button 1 starts a game.
  if (GameMode == gmTitle && actions.cursor_up) TitleCursorUp();
  if (GameMode == gmTitle && actions.cursor_down) TitleCursorDown();
  if (actions.confirm) ConfirmAction();
}

void TApp::StartStage() {
  menu.SetEnabled(TMenuItemId::GiveUp, true);
  menu.SetEnabled(TMenuItemId::Pause, true);
  const bool test_play = GameMode == gmTestPlay;
  keys_ = TInputLatches{};
  sound.Play(
      game.StartStage(game.progress().PlayEditSet || test_play ? &editor.stages() : nullptr, !test_play));
  services_.window.InvalidateScreen();
  SetPlayClock(true);
}

bool TApp::LoadStageFile(const std::string& path) {
  std::string reason;
  const auto stages = editor.ReadStageFile(path, reason);
  if (!stages) {
    services_.dialogs.MessageBox("Error\nCould not open " + path + ": " + reason, kCaption, false);
    return false;
  }
  CaptionForFile(path);
  editor.AdoptStageFile(path, *stages);
  return true;
}

void TApp::ScreenMouseDown(TMouseButton button, int x, int y) {
  if (GameMode == gmEdit) editor.ScreenMouseDown(button, x, y);
}

void TApp::ScreenMouseMove(TMouseButtons held, int x, int y) {
  if (GameMode == gmEdit) editor.ScreenMouseMove(held, x, y);
}

void TApp::PaletteMouseDown(TMouseButton button, int x, int y) { editor.PaletteMouseDown(button, x, y); }

bool TApp::MayDiscardStages() {
  if (!editor.HasUnsavedStages()) return true;
  return services_.dialogs.MessageBox("Discard the unsaved stages?", kCaption, true);
}

std::optional<std::string> TApp::AskForStageFile() {
  return services_.dialogs.RunOpenDialog({"Open", kStageFileFilter, "bds", kNoStageFile});
}

void TApp::SetPlayClock(bool running) {
  play_clock_running_ = running;
  services_.timers.SetTimerEnabled(platform::TTimerId::PlayClock, running);
}

void TApp::SetCaption(const std::string& caption) { services_.window.SetCaption(caption); }

void TApp::DisablePlayCommands() {
  menu.SetEnabled(TMenuItemId::GiveUp, false);
  menu.SetEnabled(TMenuItemId::Pause, false);
  menu.SetChecked(TMenuItemId::Pause, false);
}

void TApp::SetTitleCommandsEnabled(bool enabled) {
  menu.SetEnabled(TMenuItemId::StartGame, enabled);
  menu.SetEnabled(TMenuItemId::EditMode, enabled);
  menu.SetEnabled(TMenuItemId::PlayEditedSet, enabled);
}

void TApp::CaptionForFile(const std::string& path) {
  SetCaption(std::string(kCaption) + " - " + std::string(FileNamePart(path)));
}

}  // namespace bd
