#include "audio/sound_effects.h"

namespace bd {
namespace {
constexpr const char* kEffectFiles[kSoundEffectCount] = {"dig.wav", "dying.wav", "take.wav", "kil.wav"};
}  // namespace

void TSoundEffects::SetFolder(const std::string& program_folder) {
  for (int i = 0; i < kSoundEffectCount; ++i) paths_[i] = program_folder + kEffectFiles[i];
}

void TSoundEffects::PlayEffect(TSoundEffect effect, bool sound_on) {
  if (!sound_on || SoundBusy) return;
  SoundBusy = true;
  audio_.PlayWave(paths_[effect]);
}

}  // namespace bd
