#include "audio/music.h"

namespace bd {

namespace {
constexpr size_t kLongestPieceName = 16;
}  // namespace

void TMusic::SetFolder(const std::string& program_folder) {
  folder_ = program_folder;
  path_.reserve(folder_.size() + kLongestPieceName);
}

void TMusic::StartMusic(std::string_view file_name) {
  path_.assign(folder_);
  path_ += file_name;
  audio_.OpenAndPlayMusic(path_);
}

void TMusic::StopMusic() { audio_.StopMusic(); }

}  // namespace bd
