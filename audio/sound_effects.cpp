#include "audio/sound_effects.h"

namespace bd {

void TSoundEffects::SetFolder(const std::string& program_folder) {
  for (int i = 0; i < kSoundEffectCount; ++i) paths_[i] = program_folder + kEffectFiles[i];
}

}  // namespace bd
