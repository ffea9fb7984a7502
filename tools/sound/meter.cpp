#include "tools/sound/meter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace bd::sound {
namespace {

struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double Step(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    return y;
  }
};

// The two K-weighting stages, designed for any rate from their analogue
// prototypes, so 44,100 Hz gets the same curve the 48 kHz table describes.
Biquad HighShelf(double rate) {
  const double f0 = 1681.974450955533, gain_db = 3.999843853973347, q = 0.7071752369554196;
  const double k = std::tan(std::numbers::pi * f0 / rate);
  const double vh = std::pow(10.0, gain_db / 20), vb = std::pow(vh, 0.4996667741545416);
  const double a0 = 1 + k / q + k * k;
  return {(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
          2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
}
Biquad HighPassRlb(double rate) {
  const double f0 = 38.13547087602444, q = 0.5003270373238773;
  const double k = std::tan(std::numbers::pi * f0 / rate);
  const double a0 = 1 + k / q + k * k;
  return {1, -2, 1, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
}

// Cookbook high- and low-pass, Butterworth Q.
Biquad Pass(bool low, double cutoff, double rate) {
  const double w = 2 * std::numbers::pi * std::min(cutoff, rate * 0.45) / rate;
  const double alpha = std::sin(w) / std::numbers::sqrt2, cosw = std::cos(w), a0 = 1 + alpha;
  const double edge = low ? (1 - cosw) / 2 : (1 + cosw) / 2;
  return {edge / a0, (low ? 2 : -2) * edge / a0, edge / a0, -2 * cosw / a0, (1 - alpha) / a0};
}

// Mean square per channel of K-weighted 100 ms steps; blocks are four steps.
std::vector<double> KWeightedSteps(const Pcm& pcm, size_t begin, size_t end, size_t step) {
  end = std::min(end, pcm.Frames());
  std::vector<double> steps;
  for (int c = 0; c < pcm.channels; ++c) {
    Biquad shelf = HighShelf(pcm.rate), rlb = HighPassRlb(pcm.rate);
    for (size_t f = begin, n = 0; f + step <= end; f += step, ++n) {
      double sum = 0;
      for (size_t i = f; i < f + step; ++i) {
        const double y = rlb.Step(shelf.Step(pcm.samples[i * pcm.channels + c] / 32768.0));
        sum += y * y;
      }
      if (c == 0) steps.push_back(0);
      steps[n] += sum / double(step);  // channel weights are 1 for left and right
    }
  }
  return steps;
}

double Lufs(double power) { return power > 0 ? -0.691 + 10 * std::log10(power) : kSilentLufs; }

}  // namespace

double Decibels(double ratio) { return ratio > 1e-20 ? 10 * std::log10(ratio) : -200; }

double IntegratedLoudness(const Pcm& pcm, size_t begin, size_t end) {
  const std::vector<double> steps = KWeightedSteps(pcm, begin, end, size_t(pcm.rate / 10));
  std::vector<double> blocks;
  for (size_t n = 0; n + 4 <= steps.size(); ++n)
    blocks.push_back((steps[n] + steps[n + 1] + steps[n + 2] + steps[n + 3]) / 4);
  const auto gated_mean = [&](double gate) {
    double sum = 0;
    size_t count = 0;
    for (const double block : blocks)
      if (Lufs(block) > gate) sum += block, ++count;
    return count ? sum / double(count) : 0.0;
  };
  const double absolute = gated_mean(-70);
  if (absolute <= 0) return kSilentLufs;
  return Lufs(gated_mean(Lufs(absolute) - 10));
}

double KWeightedLevel(const Pcm& pcm, size_t begin, size_t end) {
  const size_t frames = std::min(end, pcm.Frames()) - std::min(begin, pcm.Frames());
  if (frames == 0) return kSilentLufs;
  const std::vector<double> all = KWeightedSteps(pcm, begin, begin + frames, frames);
  return Lufs(all.empty() ? 0 : all[0]);
}

size_t ClippedSamples(const Pcm& pcm) {
  return size_t(std::count_if(pcm.samples.begin(), pcm.samples.end(),
                              [](int16_t s) { return s == 32767 || s == -32768; }));
}

int OctaveEnergy::Loudest() const { return int(std::max_element(band, band + kOctaves) - band); }

OctaveEnergy OctaveEnergies(const Pcm& pcm, size_t begin, size_t end) {
  OctaveEnergy octaves;
  for (int b = 0; b < kOctaves; ++b)
    octaves.band[b] = BandEnergy(pcm, kOctaveCentres[b] / std::numbers::sqrt2,
                                 kOctaveCentres[b] * std::numbers::sqrt2, begin, end);
  return octaves;
}

double BandEnergy(const Pcm& pcm, double low_hz, double high_hz, size_t begin, size_t end) {
  end = std::min(end, pcm.Frames());
  // The filters settle on what comes before, as they would in the listener's ear.
  const size_t warm = std::min(begin, size_t(pcm.rate / 20));
  double energy = 0;
  for (int c = 0; c < pcm.channels; ++c) {
    Biquad stages[4] = {Pass(false, low_hz, pcm.rate), Pass(false, low_hz, pcm.rate),
                        Pass(true, high_hz, pcm.rate), Pass(true, high_hz, pcm.rate)};
    for (size_t f = begin - warm; f < end; ++f) {
      double y = pcm.samples[f * pcm.channels + c] / 32768.0;
      for (Biquad& stage : stages) y = stage.Step(y);
      if (f >= begin) energy += y * y;
    }
  }
  return energy;
}

}  // namespace bd::sound
