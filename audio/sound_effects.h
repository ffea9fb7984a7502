// The four short effects of play. At most one starts in a play tick: the
// first asked for; the rest of that tick's requests are dropped, not queued.
#pragma once

#include <array>
#include <string>

#include "platform/services.h"

namespace bd {

enum TSoundEffect : int { seDig = 0, seDying = 1, seTake = 2, seKill = 3 };
inline constexpr int kSoundEffectCount = 4;

class TSoundEffects {
 public:
  explicit TSoundEffects(platform::AudioService& audio) : audio_(audio) {}

  // Builds the four full paths once, so that a tick never allocates.
  void SetFolder(const std::string& program_folder);

  // Cleared at the very start of every play tick.
  bool SoundBusy = false;

  void PlayEffect(TSoundEffect effect, bool sound_on);

 private:
  platform::AudioService& audio_;
  std::array<std::string, kSoundEffectCount> paths_;
};

}  // namespace bd
