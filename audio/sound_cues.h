// The sound the game makes: the music and effect cues with the Music and
// Sound options that gate them. The program owns one and plays through it
// what play reports (TSoundCueList) and the cues of its own screens.
#pragma once

#include <string>

#include "audio/music.h"
#include "audio/sound_cue_list.h"
#include "audio/sound_effects.h"
#include "platform/services.h"

namespace bd {

class TSoundCues {
 public:
  TSoundCues(platform::AudioService& audio, platform::DialogService& dialogs)
      : music_(audio, dialogs), effects_(audio) {}

  // The pieces and effects are looked up in the program's folder.
  void SetFolder(const std::string& program_folder) {
    music_.SetFolder(program_folder);
    effects_.SetFolder(program_folder);
  }

  // One stage start's or play tick's cues, in order: of its effects only the
  // first sounds, and only with Sound on; music cues only with Music on.
  void Play(const TSoundCueList& cues) {
    bool sound_busy = false;  // SoundBusy: one effect a tick, the rest dropped, not queued
    for (const TSoundCue& cue : cues) {
      switch (cue.kind) {
        case TSoundCueKind::Effect:
          if (SoundOn_ && !sound_busy) effects_.PlayEffect(cue.effect);
          sound_busy = true;
          break;
        case TSoundCueKind::Music: StartMusic(cue.piece); break;
        case TSoundCueKind::StopMusic: StopMusic(); break;
      }
    }
  }
  // A piece or the stop of the music, only with Music on.
  void StartMusic(TMusicPiece piece) {
    if (MusicOn_) music_.StartMusic(MusicFile(piece));
  }
  void StopMusic() {
    if (MusicOn_) music_.StopMusic();
  }

  bool SoundOn() const { return SoundOn_; }
  bool MusicOn() const { return MusicOn_; }
  void SetSoundOn(bool on) { SoundOn_ = on; }
  // Turning the music off stops the piece playing; turning it on starts
  // nothing: the next music cue plays.
  void SetMusicOn(bool on) {
    MusicOn_ = on;
    if (!on) music_.StopMusic();
  }

 private:
  bool SoundOn_ = true;
  bool MusicOn_ = true;
  TMusic music_;
  TSoundEffects effects_;
};

}  // namespace bd
