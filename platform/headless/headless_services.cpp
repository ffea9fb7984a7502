#include "platform/headless/headless_services.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace bd::platform {

void HeadlessWindow::PlaceMainWindow(int left, int top, int client_width, int client_height) {
  this->left = left;
  this->top = top;
  this->client_width = client_width;
  this->client_height = client_height;
}

void HeadlessTimers::SetTimerEnabled(TimerId timer, bool enabled) {
  (timer == TimerId::kPlayClock ? play_clock : joystick_poll) = enabled;
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

std::optional<std::vector<uint8_t>> HeadlessFiles::ReadFile(const std::string& path, size_t max_bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes(max_bytes);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(max_bytes));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

bool HeadlessFiles::WriteFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error) {
  const std::string scratch = path + ".saving";
  std::FILE* file = std::fopen(scratch.c_str(), "wb");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int write_errno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    error = std::strerror(written ? errno : write_errno);
    std::remove(scratch.c_str());
    return false;
  }
  if (std::rename(scratch.c_str(), path.c_str()) != 0) {
    error = std::strerror(errno);
    std::remove(scratch.c_str());
    return false;
  }
  return true;
}

}  // namespace bd::platform
