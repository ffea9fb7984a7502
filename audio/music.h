// The music cues: pieces are looked up in the program's folder by file name.
#pragma once

#include <string>
#include <string_view>

#include "platform/services.h"

namespace bd {

class TMusic {
 public:
  explicit TMusic(platform::AudioService& audio) : audio_(audio) {}

  void SetFolder(const std::string& program_folder);

  // Callers test MusicOn themselves: the menu's own stop is the one call that is not guarded.
  void StartMusic(std::string_view file_name);
  void StopMusic();

 private:
  platform::AudioService& audio_;
  std::string folder_;
  std::string path_;  // reused, so a cue during play does not allocate
};

}  // namespace bd
