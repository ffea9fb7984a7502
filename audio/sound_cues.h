// The sound the game makes: the music and effect cues with the Music and
// Sound options that gate them. The program owns one; play reaches it by reference.
#pragma once

#include <string>

#include "audio/music.h"
#include "audio/sound_effects.h"
#include "platform/services.h"

namespace bd {

class TSoundCues {
 public:
  TSoundCues(platform::AudioService& audio, platform::DialogService& dialogs)
      : music(audio, dialogs), effects(audio) {}

  // The pieces and effects are looked up in the program's folder.
  void SetFolder(const std::string& program_folder) {
    music.SetFolder(program_folder);
    effects.SetFolder(program_folder);
  }

  // At most the first request of a play tick sounds, and only with Sound on.
  void PlayEffect(TSoundEffect effect) { effects.PlayEffect(effect, SoundOn); }

  bool SoundOn = true;
  bool MusicOn = true;
  TMusic music;
  TSoundEffects effects;
};

}  // namespace bd
