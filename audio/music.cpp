#include "audio/music.h"

namespace bd {

namespace {
constexpr size_t kLongestPieceName = 16;
constexpr size_t kPieceCount = kMusicPieceCount;
}  // namespace

void TMusic::SetFolder(const std::string& program_folder) {
  folder_ = program_folder;
  path_.reserve(folder_.size() + kLongestPieceName);
  reported_.reserve(kPieceCount);
}

void TMusic::StartMusic(std::string_view file_name) {
  path_.assign(folder_);
  path_ += file_name;
  try {
    audio_.OpenAndPlayMusic(path_);
  } catch (const platform::PlatformError& error) {
    // The cue carries on as if the piece played; the box comes once a run,
    // not at every stage start.
    for (const std::string& reported : reported_)
      if (reported == file_name) return;
    reported_.emplace_back(file_name);
    dialogs_.MessageBox(error.what(), "Burrow Dash", false);
  }
}

void TMusic::StopMusic() { audio_.StopMusic(); }

}  // namespace bd
