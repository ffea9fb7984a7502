#include "app/main_window.h"

#include "app/file_name.h"
#include "render/draw.h"

namespace bd {

TForm1::TForm1(const platform::Services& services)
    : services_(services), music_(services.audio), effects_(services.audio) {}

void TForm1::FormCreate() {
  const std::string exe = services_.window.ExecutablePath();
  ProgramFolder = exe.substr(0, exe.size() - FileNamePart(exe).size());
  music_.SetFolder(ProgramFolder);
  effects_.SetFolder(ProgramFolder);

  const platform::ScreenSize screen = services_.window.GetScreenSize();
  // The same 256 for both axes; border and menu bar are not counted. Left may go negative.
  const int left = screen.width / 2 - 256;
  int top = screen.height / 2 - 256;
  if (top < 0) top = 0;
  services_.window.PlaceMainWindow(left, top, kImageWidth, kImageHeight);

  // The surfaces' first content is never seen: the title and every stage start cover it.
  CopyCell(Image1, 0, 0, Image2, {0, 0}, kImageWidth, kImageHeight);
  CopyCell(Image3, 0, 0, Image2, {0, 0}, kImageWidth, kImageHeight);

  joy = TJoystickState{};
  platform::JoyCaps caps;
  if (services_.joystick.GetCaps(caps)) SetJoystickLimits(joy, caps);

  MainMenu1.SetEnabled(TMenuItemId::Edit2, false);

  game.SoundOn = true;
  game.MusicOn = true;
  game.HiScore = 0;

  ClearAll(EditSet);
  EditStage = 0;

  ShowTitle();

  random.seed = services_.clock.TimeSeed();
}

void TForm1::MenuClick(TMenuItemId id) {
  if (!MainMenu1.Active(id)) return;
  using enum TMenuItemId;
  switch (id) {
    case Reset1: return Reset1Click();
    case Replay1: return Replay1Click();
    case PAUSE1: return PAUSE1Click();
    case Start1: return Start1Click();
    case Edit1: return Edit1Click();
    case PlayEdit1: return PlayEdit1Click();
    case Exit1: return Exit1Click();
    case Open1: return Open1Click();
    case Save1: return Save1Click();
    case N11:
    case N21:
    case N31:
    case N41:
    case N51:
    case N61: return N11Click(MainMenu1.Item(id).tag);
    case TestPlay1: return TestPlay1Click();
    case AllClear1: return AllClear1Click();
    case New1: return New1Click();
    case Music1: return Music1Click();
    case Sound1: return Sound1Click();
    default: return;  // menus and separators have no handler
  }
}

void TForm1::Timer2Timer() {
  if (!joy.JoyPresent) return;
  platform::JoyPos pos;
  if (!services_.joystick.GetPos(pos)) return;  // states keep their last good values
  const TJoyPollResult actions = ApplyJoystickPosition(joy, pos);
  // Cursor steps come before the confirm, so stick up with button 1 starts a game.
  if (game.GameMode == gmTitle && actions.cursor_up) TitleCursorUp();
  if (game.GameMode == gmTitle && actions.cursor_down) TitleCursorDown();
  if (actions.confirm) ConfirmAction();
}

void TForm1::SetTimer1(bool enabled) {
  timer1_enabled_ = enabled;
  services_.timers.SetTimerEnabled(platform::TimerId::kTimer1, enabled);
}

void TForm1::SetCaption(const std::string& caption) { services_.window.SetCaption(caption); }

void TForm1::DisablePlayCommands() {
  MainMenu1.SetEnabled(TMenuItemId::Replay1, false);
  MainMenu1.SetEnabled(TMenuItemId::PAUSE1, false);
  MainMenu1.SetChecked(TMenuItemId::PAUSE1, false);
}

void TForm1::SetTitleCommandsEnabled(bool enabled) {
  MainMenu1.SetEnabled(TMenuItemId::Start1, enabled);
  MainMenu1.SetEnabled(TMenuItemId::Edit1, enabled);
  MainMenu1.SetEnabled(TMenuItemId::PlayEdit1, enabled);
}

void TForm1::CaptionForFile(const std::string& path) {
  SetCaption(std::string(kCaption) + " - " + std::string(FileNamePart(path)));
}

}  // namespace bd
