// The real desktop window: hosts TApp, builds its menu bar, runs its two
// timers, shows screen and forwards every event into the core. No game rule
// lives here. Every event passes through Dispatch, which reports a service's
// failure in a message box and lets the program go on. The picture is shown
// N times larger in a window of fixed size (the window scale), or full
// screen at the largest whole scale that fits; F11 switches between them.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <cstdio>
#include <memory>

#include "app/app.h"
#include "platform/qt/palette_window.h"
#include "platform/services.h"

class QAction;
class QMenu;

namespace bd::platform {

class SurfaceView;

class QtMainWindow : public QMainWindow,
                     public WindowService,
                     public TimerService,
                     public DialogService,
                     public ClockService,
                     public FileService {
  Q_OBJECT

 public:
  QtMainWindow(AudioService& audio, JoystickService& joystick);
  ~QtMainWindow() override;

  // Startup, then the palette window; the caller shows the window.
  // Loads the sprite sheet (throws PlatformError if it cannot), then runs
  // the app's start-up and creates the palette window.
  void Start();

  TApp& app() { return app_; }
  QAction* ActionFor(TMenuItemId id) const { return actions_[static_cast<int>(id)]; }
  QMenu* MenuFor(TMenuItemId id) const { return menus_[static_cast<int>(id)]; }
  PaletteWindow* paletteWindow() const { return palette_.get(); }
  QTimer& play_clock() { return play_clock_; }
  QTimer& joystick_poll() { return joystick_poll_; }
  const QImage& PresentedImage() const;
  SurfaceView* view() const { return view_; }

  static constexpr int kMaxWindowScale = 4;
  // Each picture pixel as scale x scale pixels in the window (1 to 4). Set
  // before Start, it also centres the larger window; later it only resizes.
  void SetWindowScale(int scale);
  // The largest window scale up to `wanted` whose window, frame and menu bar
  // included, fits the available area of the window's screen; 1 at least.
  int LargestScaleThatFits(int wanted) const;
  // Message boxes also go there, one line each after the "Error" word, while
  // set: a stage file named on the command line says why it was refused.
  void SetMessageNotes(std::FILE* notes) { message_notes_ = notes; }
  // Shows the window full screen, or back in its window at the window scale.
  void SetFullScreen(bool full_screen);
  // Where the window is and shows its picture, for the palette.
  MainWindowPlace Place() const;

  // Runs one event's handler: a failure is shown in a message box, then the menu mirrors the core.
  template <typename Handler>
  void Dispatch(Handler&& handler);

  // Key-downs and key-ups of the main window and the palette window.
  void HandleKeyPress(QKeyEvent* event, bool from_palette);
  void HandleKeyRelease(QKeyEvent* event);

  // WindowService
  void SetCaption(const std::string& caption) override;
  void PlaceMainWindow(int left, int top, int client_width, int client_height) override;
  ScreenSize GetScreenSize() override;
  std::string ExecutablePath() override;
  void InvalidateScreen() override;
  void SetPaletteVisible(bool visible) override;
  void InvalidatePalette() override;
  void CloseMainWindow() override;
  // TimerService
  void SetTimerEnabled(TTimerId timer, bool enabled) override;
  // DialogService
  bool MessageBox(const std::string& text, const std::string& caption, bool ok_cancel) override;
  std::optional<std::string> RunOpenDialog(const FileDialogRequest& request) override;
  std::optional<std::string> RunSaveDialog(const FileDialogRequest& request) override;
  // ClockService
  uint32_t TimeSeed() override;
  // FileService
  std::optional<std::vector<uint8_t>> ReadFile(const std::string& path, size_t max_bytes,
                                               std::string& reason) override;
  bool WriteFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error) override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void BuildMenuBar();
  void SyncMenu();
  // The window has no control that takes the focus: the keys are the game's
  // unless a menu is open. Qt leaves the menu bar holding the keyboard after
  // Escape closes a menu and after Alt alone; this hands them back.
  void GiveKeysToTheGame();
  // The window's size is the picture's at the window scale and cannot be changed.
  void FixWindowSize();
  MainWindowPlace FullScreenPlace() const;
  void ShowError(const QString& text);

  AudioService& audio_;
  JoystickService& joystick_;
  TApp app_;
  std::array<QAction*, kMenuItemCount> actions_{};
  std::array<QMenu*, kMenuItemCount> menus_{};
  SurfaceView* view_ = nullptr;
  std::unique_ptr<PaletteWindow> palette_;
  QTimer play_clock_;
  QTimer joystick_poll_;
  int window_scale_ = 1;
  std::FILE* message_notes_ = nullptr;
  QPoint windowed_pos_;     // where the window was before it went full screen
  QPoint windowed_client_;  // and its client area
  int dispatch_depth_ = 0;
  bool in_close_event_ = false;
  bool close_granted_ = false;  // by CloseMainWindow, for the next close event
};

template <typename Handler>
void QtMainWindow::Dispatch(Handler&& handler) {
  ++dispatch_depth_;
  try {
    handler();
  } catch (const std::exception& error) {
    ShowError(QString::fromStdString(error.what()));
  }
  --dispatch_depth_;
  SyncMenu();
}

}  // namespace bd::platform
