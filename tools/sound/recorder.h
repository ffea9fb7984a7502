// Records a piece as the game plays it: the real SdlAudio on SDL's disk
// driver, with the chosen sound font, and effects fired over the music at
// moments counted in the recording itself, so they land where they would in
// play however fast the machine renders.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/sound/meter.h"

namespace bd::sound {

struct Cue {
  double seconds = 0;  // after the music's first sample
  std::string wave;
};

struct Recording {
  Pcm pcm;                      // stereo, as SdlAudio opens the device
  size_t music_start = 0;       // first frame the music sounds in
  std::vector<size_t> fired;    // frame reached when each cue was fired
  std::vector<size_t> carried;  // frame reached once SdlAudio had started it: it begins between the two
};

// The effects a replay trace (burrow-dash-replay --trace) sets off, a play tick
// being 24 ms, repeated with a caught runner's "dying" after each pass until
// `seconds` are filled: how effects fall over a piece in play.
std::vector<Cue> CuesFromTrace(std::istream& trace, const std::string& sounds_folder, double seconds);

// Throws std::runtime_error when the music never starts (no font, no device).
// `folder` holds the recording while it grows.
Recording RecordPiece(const std::string& font, const std::string& piece, const std::vector<Cue>& cues,
                      const std::string& folder);

inline constexpr double kJudgedSeconds = 0.12;  // of each effect, for its margin

// One effect as heard over the music, from the difference between the
// recording with effects and the one without.
struct HeardEffect {
  std::string wave;
  double at = 0;      // seconds into the piece
  double heard = 0;   // seconds until it ended or the next one cut it
  int octave = 0;     // its loudest octave, an index of kOctaveCentres
  double margin = 0;  // dB over the music in that octave while it sounds
};

struct MixReport {
  double loudness = kSilentLufs;  // the piece alone, integrated
  size_t clipped_alone = 0, clipped_mixed = 0;
  int peak_alone = 0, peak_mixed = 0;  // largest sample magnitude
  double residue = 0;                  // largest difference away from the effects: the two takes agree when 0
  double residue_at = 0;               // seconds into the piece
  std::vector<HeardEffect> effects;
};

// Records the piece twice, alone and with the cues, and measures both.
MixReport MeasureMix(const std::string& font, const std::string& piece, const std::vector<Cue>& cues,
                     const std::string& folder);

}  // namespace bd::sound
