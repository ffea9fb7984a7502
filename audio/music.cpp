#include "audio/music.h"

namespace bd {

void TMusic::StartMusic(std::string_view file_name) {
  std::string path = folder_;
  path += file_name;
  audio_.OpenAndPlayMusic(path);
}

void TMusic::StopMusic() { audio_.StopMusic(); }

}  // namespace bd
