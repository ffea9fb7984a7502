// What a stage start or a play tick set off for the ears, as data and in the
// order it happened. Play fills one; the program's sound cues play it.
#pragma once

#include <array>
#include <cstdint>

#include "audio/sound_ids.h"

namespace bd {

enum class TSoundCueKind : uint8_t { Effect, Music, StopMusic };

struct TSoundCue {
  TSoundCueKind kind = TSoundCueKind::Effect;
  TSoundEffect effect = seDig;
  TMusicPiece piece = TMusicPiece::Title;
  bool operator==(const TSoundCue&) const = default;
};

class TSoundCueList {
 public:
  // More than a tick can ask for: dig, death, music stop, take, escape music, crush.
  static constexpr int kCapacity = 8;

  void Effect(TSoundEffect effect) { Add({TSoundCueKind::Effect, effect, TMusicPiece::Title}); }
  void Music(TMusicPiece piece) { Add({TSoundCueKind::Music, seDig, piece}); }
  void StopMusic() { Add({TSoundCueKind::StopMusic, seDig, TMusicPiece::Title}); }

  const TSoundCue* begin() const { return cues_.data(); }
  const TSoundCue* end() const { return cues_.data() + count_; }

 private:
  void Add(const TSoundCue& cue) {
    if (count_ < kCapacity) cues_[count_++] = cue;
  }
  std::array<TSoundCue, kCapacity> cues_{};
  int count_ = 0;
};

}  // namespace bd
