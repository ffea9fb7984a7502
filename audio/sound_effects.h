// The four short effects of play, played from the program's folder.
#pragma once

#include <array>
#include <string>

#include "audio/sound_ids.h"
#include "platform/services.h"

namespace bd {

class TSoundEffects {
 public:
  explicit TSoundEffects(platform::AudioService& audio) : audio_(audio) {}

  // Builds the four full paths once, so that a tick never allocates.
  void SetFolder(const std::string& program_folder);

  void PlayEffect(TSoundEffect effect) { audio_.PlayWave(paths_[effect]); }

 private:
  platform::AudioService& audio_;
  std::array<std::string, kSoundEffectCount> paths_;
};

}  // namespace bd
