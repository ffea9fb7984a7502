// The only door between the game core and the desktop. The core calls these
// interfaces; the Qt shell and the headless test double implement them.
// Every call comes from the one user-interface thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace bd::platform {

// Thrown by any service that fails (a music file that will not open, a
// dialog that cannot be shown). The shell catches it where it dispatches the
// event and shows it in a message box; the rest of the handler is skipped.
class PlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ScreenSize {
  int width = 0;
  int height = 0;
};

class WindowService {
 public:
  virtual ~WindowService() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  // Outer position of the main window in screen pixels, client area size.
  virtual void PlaceMainWindow(int left, int top, int client_width, int client_height) = 0;
  virtual ScreenSize GetScreenSize() = 0;
  // Full path of the game's own executable file.
  virtual std::string ExecutablePath() = 0;
  // Asks for a repaint of the visible surface screen.
  virtual void InvalidateScreen() = 0;
  virtual void SetPaletteVisible(bool visible) = 0;
  // Asks for a repaint of the palette window's picture.
  virtual void InvalidatePalette() = 0;
  virtual void CloseMainWindow() = 0;
};

enum class TTimerId { PlayClock, JoystickPoll };

class TimerService {
 public:
  virtual ~TimerService() = default;
  virtual void SetTimerEnabled(TTimerId timer, bool enabled) = 0;
};

struct FileDialogRequest {
  std::string title;        // "Open" or "Save"
  std::string filter;       // description|pattern
  std::string default_ext;  // without the dot
  std::string file_name;    // initial file name
};

class DialogService {
 public:
  virtual ~DialogService() = default;
  // OK alone (ok_cancel false) or OK and Cancel; true when OK was chosen.
  virtual bool MessageBox(const std::string& text, const std::string& caption, bool ok_cancel) = 0;
  // Full path of the chosen file, or nothing when the dialog was cancelled.
  virtual std::optional<std::string> RunOpenDialog(const FileDialogRequest& request) = 0;
  // Asks before replacing an existing file.
  virtual std::optional<std::string> RunSaveDialog(const FileDialogRequest& request) = 0;
};

class AudioService {
 public:
  virtual ~AudioService() = default;
  // Asynchronous; cuts off a sound still playing; never reports failure.
  virtual void PlayWave(const std::string& path) = 0;
  // Closes any open piece, opens this one and plays it once from the start.
  // Throws PlatformError, with the reason, when the piece cannot be opened.
  virtual void OpenAndPlayMusic(const std::string& path) = 0;
  // Stops the open piece, leaving it open; does nothing when none is open.
  virtual void StopMusic() = 0;
};

struct JoyCaps {
  uint32_t x_min = 0, x_max = 0, y_min = 0, y_max = 0;
};

struct JoyPos {
  uint32_t x = 0, y = 0, z = 0;
  uint32_t buttons = 0;  // bit 0 = button 1, bit 1 = button 2, ...
};

class JoystickService {
 public:
  virtual ~JoystickService() = default;
  // Joystick 1; false when the query fails.
  virtual bool GetCaps(JoyCaps& caps) = 0;
  virtual bool GetPos(JoyPos& pos) = 0;
};

class FileService {
 public:
  virtual ~FileService() = default;
  // Up to max_bytes from the start of the file, raw; nothing, with the reason
  // in a player's words, when it is missing, not a regular file or unreadable.
  virtual std::optional<std::vector<uint8_t>> ReadFile(const std::string& path, size_t max_bytes,
                                                       std::string& reason) = 0;
  // Replaces the file with these bytes, or leaves any file of that name
  // whole: a failed or interrupted write never destroys the previous file.
  // False with the reason in error when the file was not written.
  virtual bool WriteFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error) = 0;
};

class ClockService {
 public:
  virtual ~ClockService() = default;
  // A seed for the pseudo-random generator taken from the current time.
  virtual uint32_t TimeSeed() = 0;
};

// What the core holds: one reference per service.
struct Services {
  WindowService& window;
  TimerService& timers;
  DialogService& dialogs;
  AudioService& audio;
  JoystickService& joystick;
  ClockService& clock;
  FileService& files;
};

}  // namespace bd::platform
