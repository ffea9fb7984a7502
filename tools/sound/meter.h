// Measures for what the game plays: integrated loudness after ITU BS.1770
// (K-weighting, 400 ms blocks a quarter apart, the -70 LUFS and -10 LU gates),
// clipped samples, and the energy of one octave band. Samples are 16-bit,
// interleaved when there are two channels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bd::sound {

inline constexpr double kSilentLufs = -200;  // what a recording with no block above the gates reads

struct Pcm {
  int rate = 44100;
  int channels = 2;
  std::vector<int16_t> samples;
  size_t Frames() const { return samples.size() / size_t(channels); }
};

// Frames [begin, end) only; `end` past the last frame stops there.
double IntegratedLoudness(const Pcm& pcm, size_t begin = 0, size_t end = SIZE_MAX);

// Mean K-weighted power of [begin, end) as LUFS, without gates: a part's level where it plays.
double KWeightedLevel(const Pcm& pcm, size_t begin, size_t end);

// Samples at full scale (-32768 or 32767): what the mixer had to clip.
size_t ClippedSamples(const Pcm& pcm);

// The octaves the margins are judged in, 63 Hz to 8 kHz.
inline constexpr double kOctaveCentres[] = {63, 125, 250, 500, 1000, 2000, 4000, 8000};
inline constexpr int kOctaves = 8;

// Energy per octave of [begin, end), each octave a pair of band-passes, summed over channels.
struct OctaveEnergy {
  double band[kOctaves] = {};
  int Loudest() const;
};
OctaveEnergy OctaveEnergies(const Pcm& pcm, size_t begin, size_t end);

// Energy between two frequencies, [begin, end): for the effects' own checks.
double BandEnergy(const Pcm& pcm, double low_hz, double high_hz, size_t begin = 0, size_t end = SIZE_MAX);

double Decibels(double ratio);  // 10 log10, floored at -200

}  // namespace bd::sound
