// Services without a desktop: they record what the core asked for and let a
// test or tool answer dialogs, script the joystick and fix the clock.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace bd::platform {

class HeadlessWindow : public WindowService {
 public:
  void SetCaption(const std::string& caption) override { this->caption = caption; }
  void PlaceMainWindow(int left, int top, int client_width, int client_height) override;
  ScreenSize GetScreenSize() override { return screen; }
  std::string ExecutablePath() override { return executable_path; }
  void InvalidateScreen() override { ++screen_invalidations; }
  void SetPaletteVisible(bool visible) override { palette_visible = visible; }
  void InvalidatePalette() override { ++palette_invalidations; }
  void CloseMainWindow() override { close_requested = true; }

  ScreenSize screen{1920, 1080};
  std::string executable_path = "/opt/burrow-dash/burrow-dash";
  std::string caption;
  int left = 0, top = 0, client_width = 0, client_height = 0;
  int screen_invalidations = 0;
  int palette_invalidations = 0;
  bool palette_visible = false;
  bool close_requested = false;
};

class HeadlessTimers : public TimerService {
 public:
  void SetTimerEnabled(TTimerId timer, bool enabled) override;
  bool play_clock = false;
  bool joystick_poll = true;  // runs from creation to exit
};

struct RecordedMessageBox {
  std::string text, caption;
  bool ok_cancel;
};

class HeadlessDialogs : public DialogService {
 public:
  bool MessageBox(const std::string& text, const std::string& caption, bool ok_cancel) override;
  std::optional<std::string> RunOpenDialog(const FileDialogRequest& request) override;
  std::optional<std::string> RunSaveDialog(const FileDialogRequest& request) override;

  // Answers given in order; when they run out a box is answered OK and a dialog cancelled.
  std::deque<bool> message_box_answers;
  std::deque<std::optional<std::string>> open_answers, save_answers;
  std::vector<RecordedMessageBox> message_boxes;
  std::vector<FileDialogRequest> open_requests, save_requests;
};

class HeadlessAudio : public AudioService {
 public:
  void PlayWave(const std::string& path) override { waves.push_back(path); }
  void OpenAndPlayMusic(const std::string& path) override;
  void StopMusic() override;

  // Every music call in order: "start <path>" or "stop".
  std::vector<std::string> music_calls;
  std::vector<std::string> waves;
  // Pieces (file names) that cannot be opened: every open of one throws
  // "cannot open <path>", as a missing file would.
  std::vector<std::string> missing_pieces;
};

class HeadlessJoystick : public JoystickService {
 public:
  bool GetCaps(JoyCaps& caps) override;
  bool GetPos(JoyPos& pos) override;

  std::optional<JoyCaps> caps;  // none: no joystick
  bool position_ok = true;
  JoyPos position;
};

class HeadlessClock : public ClockService {
 public:
  uint32_t TimeSeed() override { return seed; }
  uint32_t seed = 1;
};

// Reads and writes real files: tools and tests load and save stage files on disk.
class HeadlessFiles : public FileService {
 public:
  std::optional<std::vector<uint8_t>> ReadFile(const std::string& path, size_t max_bytes,
                                               std::string& reason) override;
  // Writes a scratch file of its own beside the target and renames it over
  // the target; refuses to replace anything but a writable regular file.
  bool WriteFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error) override;
};

// All of them together, ready to hand to the core.
struct HeadlessServices {
  HeadlessWindow window;
  HeadlessTimers timers;
  HeadlessDialogs dialogs;
  HeadlessAudio audio;
  HeadlessJoystick joystick;
  HeadlessClock clock;
  HeadlessFiles files;

  Services services() { return Services{window, timers, dialogs, audio, joystick, clock, files}; }
};

}  // namespace bd::platform
