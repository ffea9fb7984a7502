// The music cues: pieces are looked up in the program's folder by file name.
// A piece that cannot be opened is reported once in a run and the game goes
// on without it: a missing file must never stop a stage from starting.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "audio/sound_ids.h"
#include "platform/services.h"

namespace bd {

class TMusic {
 public:
  TMusic(platform::AudioService& audio, platform::DialogService& dialogs)
      : audio_(audio), dialogs_(dialogs) {}

  void SetFolder(const std::string& program_folder);

  // Callers test MusicOn themselves: the menu's own stop is the one call that is not guarded.
  void StartMusic(std::string_view file_name);
  void StopMusic();

 private:
  platform::AudioService& audio_;
  platform::DialogService& dialogs_;
  std::vector<std::string> reported_;  // pieces whose failure has been shown
  std::string folder_;
  std::string path_;  // reused, so a cue during play does not allocate
};

}  // namespace bd
