// The effects synthesiser: a text recipe of layers (an oscillator or noise,
// shaped by a pitch sweep, an envelope and filters) mixed into 16-bit PCM.
//
// A recipe is read line by line; '#' starts a comment. Effect lines:
//   length SECONDS        the whole effect (required)
//   rate HZ               sample rate, default 44100
//   peak FRACTION         the mix is scaled so its loudest sample is this much of full scale (default 0.9)
//   fade IN OUT           seconds of raised-cosine fade at each end, so neither end clicks (default 0.003
//   0.01) layer WAVE            starts a layer: sine, square, triangle, saw or noise
// Layer lines, each about the layer above it:
//   at SECONDS            start (default 0)        for SECONDS     duration (default: to the end)
//   pitch HZ [HZ]         frequency, swept exponentially from the first to the second over the layer;
//                         for noise, the rate new values are drawn (coarser grit when low; default: every
//                         sample)
//   vibrato HZ SEMITONES  pitch wobble             tremolo HZ DEPTH  loudness wobble, DEPTH 0..1
//   duty FRACTION         square wave's high part (default 0.5)
//   level AMOUNT          loudness in the mix (default 1)
//   envelope A D S R      attack and decay seconds, sustain level 0..1, release seconds at the layer's end
//   drive AMOUNT          soft saturation before the filters (0: none)
//   lowpass HZ [HZ]       12 dB/octave low-pass, cut-off swept like pitch; highpass HZ [HZ] likewise
//   resonance Q           the filters' Q (default 0.707)
//   seed N                the noise generator's seed (default: the layer's number)
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace bd::sound {

struct SoundError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

enum class Wave { kSine, kSquare, kTriangle, kSaw, kNoise };

struct Sweep {
  double from = 0;  // 0: off
  double to = 0;
  double At(double fraction) const;  // exponential between the two
};

struct Layer {
  Wave wave = Wave::kSine;
  double at = 0;
  double length = -1;  // -1: to the end of the effect
  Sweep pitch{440, 440};
  double vibrato_rate = 0, vibrato_depth = 0;
  double tremolo_rate = 0, tremolo_depth = 0;
  double duty = 0.5;
  double level = 1;
  double attack = 0.002, decay = 0, sustain = 1, release = 0.01;
  double drive = 0;
  Sweep lowpass, highpass;
  double resonance = 0.707;
  uint32_t seed = 0;
};

struct Recipe {
  double length = 0;
  int rate = 44100;
  double peak = 0.9;
  double fade_in = 0.003, fade_out = 0.01;
  std::vector<Layer> layers;
};

// Errors name the source and line.
Recipe ParseRecipe(const std::string& text, const std::string& source);

// Deterministic: the same recipe gives the same samples on every run.
std::vector<int16_t> Render(const Recipe& recipe);

// A mono 16-bit PCM RIFF/WAVE file.
std::vector<uint8_t> WaveFile(const std::vector<int16_t>& samples, int rate);

}  // namespace bd::sound
