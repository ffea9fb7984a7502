#include "platform/headless/headless_services.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/file_access.h"

namespace bd::platform {

void HeadlessWindow::PlaceMainWindow(int left, int top, int client_width, int client_height) {
  this->left = left;
  this->top = top;
  this->client_width = client_width;
  this->client_height = client_height;
}

void HeadlessTimers::SetTimerEnabled(TTimerId timer, bool enabled) {
  (timer == TTimerId::PlayClock ? play_clock : joystick_poll) = enabled;
}

bool HeadlessDialogs::MessageBox(const std::string& text, const std::string& caption, bool ok_cancel) {
  message_boxes.push_back({text, caption, ok_cancel});
  if (message_box_answers.empty()) return true;
  const bool answer = message_box_answers.front();
  message_box_answers.pop_front();
  return answer;
}

namespace {
std::optional<std::string> NextAnswer(std::deque<std::optional<std::string>>& answers) {
  if (answers.empty()) return std::nullopt;
  auto answer = answers.front();
  answers.pop_front();
  return answer;
}
}  // namespace

std::optional<std::string> HeadlessDialogs::RunOpenDialog(const FileDialogRequest& request) {
  open_requests.push_back(request);
  return NextAnswer(open_answers);
}

std::optional<std::string> HeadlessDialogs::RunSaveDialog(const FileDialogRequest& request) {
  save_requests.push_back(request);
  return NextAnswer(save_answers);
}

void HeadlessAudio::OpenAndPlayMusic(const std::string& path) {
  for (const std::string& missing : missing_pieces)
    if (path.size() >= missing.size() &&
        path.compare(path.size() - missing.size(), missing.size(), missing) == 0)
      throw PlatformError("cannot open " + path);
  music_calls.push_back("start " + path);
}

void HeadlessAudio::StopMusic() { music_calls.push_back("stop"); }

bool HeadlessJoystick::GetCaps(JoyCaps& caps) {
  if (!this->caps) return false;
  caps = *this->caps;
  return true;
}

bool HeadlessJoystick::GetPos(JoyPos& pos) {
  if (!position_ok) return false;
  pos = position;
  return true;
}

std::optional<std::vector<uint8_t>> HeadlessFiles::ReadFile(const std::string& path, size_t max_bytes,
                                                            std::string& reason) {
  return ReadRegularFile(path, max_bytes, reason);
}

namespace {

// SIGINT, SIGTERM and SIGHUP wait while a scratch file exists, so that a
// kill during a save leaves no scratch file behind (SIGKILL aside).
class EndSignalsHeld {
 public:
  EndSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &before_);
  }
  ~EndSignalsHeld() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
  EndSignalsHeld(const EndSignalsHeld&) = delete;
  EndSignalsHeld& operator=(const EndSignalsHeld&) = delete;

 private:
  sigset_t before_;
};

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    bytes = bytes.subspan(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

bool HeadlessFiles::WriteFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error) {
  if (!MayReplaceWithFile(path, error)) return false;
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  // As the game's save does: a file without write permission stays, even for root.
  if (exists && ((old.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)) {
    error = "it is read-only";
    return false;
  }
  const EndSignalsHeld held;
  // A fresh name, created exclusively: never through a name or link already there.
  std::string scratch = path + ".saving-XXXXXX";
  const int fd = ::mkostemp(scratch.data(), O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  mode_t mode = old.st_mode & 07777;
  if (!exists) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes);
  int failure = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    failure = errno;
  }
  if (ok && ::rename(scratch.c_str(), path.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    ::unlink(scratch.c_str());
    error = std::strerror(failure);
  }
  return ok;
}

}  // namespace bd::platform
