#include "tools/sound/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

namespace bd::sound {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

[[noreturn]] void Fail(const std::string& source, int line, const std::string& what) {
  throw SoundError(source + ":" + std::to_string(line) + ": " + what);
}

// xorshift32: our own noise, so the effects come out the same everywhere.
class NoiseSource {
 public:
  explicit NoiseSource(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {
    if (state_ == 0) state_ = 1;
  }
  double Next() {  // -1 .. 1
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return double(state_) / 2147483648.0 - 1.0;
  }

 private:
  uint32_t state_;
};

// Smooths the jump of a square or saw edge over a sample either side, which
// keeps high sweeps from folding back into audible whistles.
double PolyBlep(double phase, double step) {
  if (phase < step) {
    const double t = phase / step;
    return t + t - t * t - 1.0;
  }
  if (phase > 1.0 - step) {
    const double t = (phase - 1.0) / step;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

// A biquad (the usual cookbook low- and high-pass), re-tuned every sample
// while its cut-off sweeps.
class Filter {
 public:
  void Tune(bool low, double cutoff, double q, double rate) {
    cutoff = std::clamp(cutoff, 10.0, rate * 0.45);
    const double w = kTwoPi * cutoff / rate;
    const double cosw = std::cos(w);
    const double alpha = std::sin(w) / (2 * q);
    const double a0 = 1 + alpha;
    const double edge = low ? (1 - cosw) / 2 : (1 + cosw) / 2;
    b0_ = edge / a0;
    b1_ = (low ? 2 * edge : -2 * edge) / a0;
    b2_ = edge / a0;
    a1_ = -2 * cosw / a0;
    a2_ = (1 - alpha) / a0;
  }
  double Run(double x) {
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }

 private:
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

double Envelope(const Layer& layer, double t, double length) {
  double level = layer.sustain;
  if (t < layer.attack) {
    level = t / layer.attack;
  } else if (t < layer.attack + layer.decay) {
    const double left = 1 - (t - layer.attack) / layer.decay;
    level = layer.sustain + (1 - layer.sustain) * left * left;  // quick at first, like a struck thing
  }
  if (layer.release > 0 && t > length - layer.release) level *= std::max(0.0, (length - t) / layer.release);
  return level;
}

void RenderLayer(const Layer& layer, const Recipe& recipe, std::vector<double>& mix) {
  const double rate = recipe.rate;
  const double length = layer.length < 0 ? recipe.length - layer.at : layer.length;
  const size_t first = size_t(std::lround(layer.at * rate));
  const size_t count = std::min(size_t(std::lround(length * rate)), mix.size() - std::min(first, mix.size()));
  NoiseSource noise(layer.seed);
  Filter low, high;
  double phase = 0;
  double held = noise.Next();
  for (size_t i = 0; i < count; ++i) {
    const double t = double(i) / rate;
    const double fraction = t / length;
    double frequency = layer.pitch.At(fraction);
    if (layer.vibrato_depth != 0)
      frequency *= std::exp2(layer.vibrato_depth / 12 * std::sin(kTwoPi * layer.vibrato_rate * t));
    const double step = std::min(frequency / rate, 0.5);
    double value = 0;
    switch (layer.wave) {
      case Wave::kSine: value = std::sin(kTwoPi * phase); break;
      case Wave::kSquare:
        value = (phase < layer.duty ? 1.0 : -1.0) + PolyBlep(phase, step) -
                PolyBlep(std::fmod(phase + 1 - layer.duty, 1.0), step);
        break;
      case Wave::kTriangle: value = 4 * std::abs(phase - 0.5) - 1; break;
      case Wave::kSaw: value = 2 * phase - 1 - PolyBlep(phase, step); break;
      case Wave::kNoise: value = layer.pitch.from > 0 ? held : noise.Next(); break;
    }
    phase += step;
    if (phase >= 1) {
      phase -= 1;
      if (layer.wave == Wave::kNoise) held = noise.Next();
    }
    if (layer.drive > 0) value = std::tanh(layer.drive * value) / std::tanh(layer.drive);
    if (layer.lowpass.from > 0) {
      low.Tune(true, layer.lowpass.At(fraction), layer.resonance, rate);
      value = low.Run(value);
    }
    if (layer.highpass.from > 0) {
      high.Tune(false, layer.highpass.At(fraction), layer.resonance, rate);
      value = high.Run(value);
    }
    double gain = layer.level * Envelope(layer, t, length);
    if (layer.tremolo_depth > 0)
      gain *= 1 - layer.tremolo_depth * (0.5 + 0.5 * std::sin(kTwoPi * layer.tremolo_rate * t));
    mix[first + i] += gain * value;
  }
}

double Number(std::istringstream& words, const std::string& source, int line, const std::string& what,
              double low, double high) {
  double value = 0;
  if (!(words >> value)) Fail(source, line, what + ": expected a number");
  if (!(value >= low && value <= high))
    Fail(source, line, what + " " + std::to_string(value) + " is out of range");
  return value;
}

// One number, or two for a sweep from the first to the second.
Sweep ReadSweep(std::istringstream& words, const std::string& source, int line, const std::string& what,
                double low, double high) {
  Sweep sweep;
  sweep.from = sweep.to = Number(words, source, line, what, low, high);
  if (!(words >> std::ws).eof()) sweep.to = Number(words, source, line, what, low, high);
  return sweep;
}

Wave ReadWave(const std::string& name, const std::string& source, int line) {
  if (name == "sine") return Wave::kSine;
  if (name == "square") return Wave::kSquare;
  if (name == "triangle") return Wave::kTriangle;
  if (name == "saw") return Wave::kSaw;
  if (name == "noise") return Wave::kNoise;
  Fail(source, line, "unknown wave '" + name + "' (sine, square, triangle, saw, noise)");
}

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int k = 0; k < 4; ++k) out.push_back(uint8_t(tag[k]));
}

}  // namespace

double Sweep::At(double fraction) const {
  if (from == to) return from;
  return from * std::pow(to / from, std::clamp(fraction, 0.0, 1.0));
}

Recipe ParseRecipe(const std::string& text, const std::string& source) {
  Recipe recipe;
  std::istringstream lines(text);
  int number = 0;
  bool has_length = false;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string key;
    if (!(words >> key)) continue;
    Layer* layer = recipe.layers.empty() ? nullptr : &recipe.layers.back();
    const bool effect_line =
        key == "length" || key == "rate" || key == "peak" || key == "fade" || key == "layer";
    if (!effect_line && layer == nullptr)
      Fail(source, number, "'" + key + "' belongs to a layer; none started");
    if (key == "length") {
      recipe.length = Number(words, source, number, key, 0.001, 60);
      has_length = true;
    } else if (key == "rate") {
      recipe.rate = int(Number(words, source, number, key, 8000, 192000));
    } else if (key == "peak") {
      recipe.peak = Number(words, source, number, key, 0.01, 0.999);
    } else if (key == "fade") {
      recipe.fade_in = Number(words, source, number, key, 0, 10);
      recipe.fade_out = Number(words, source, number, key, 0, 10);
    } else if (key == "layer") {
      std::string wave;
      words >> wave;
      recipe.layers.push_back(Layer{});
      recipe.layers.back().wave = ReadWave(wave, source, number);
      recipe.layers.back().seed = uint32_t(recipe.layers.size());
      if (recipe.layers.back().wave == Wave::kNoise) recipe.layers.back().pitch = Sweep{};
    } else if (key == "at") {
      layer->at = Number(words, source, number, key, 0, 60);
    } else if (key == "for") {
      layer->length = Number(words, source, number, key, 0.001, 60);
    } else if (key == "pitch") {
      layer->pitch = ReadSweep(words, source, number, key, 1, 20000);
    } else if (key == "vibrato") {
      layer->vibrato_rate = Number(words, source, number, key, 0, 100);
      layer->vibrato_depth = Number(words, source, number, key, 0, 24);
    } else if (key == "tremolo") {
      layer->tremolo_rate = Number(words, source, number, key, 0, 1000);
      layer->tremolo_depth = Number(words, source, number, key, 0, 1);
    } else if (key == "duty") {
      layer->duty = Number(words, source, number, key, 0.01, 0.99);
    } else if (key == "level") {
      layer->level = Number(words, source, number, key, 0, 10);
    } else if (key == "envelope") {
      layer->attack = Number(words, source, number, "attack", 0.0005, 60);
      layer->decay = Number(words, source, number, "decay", 0, 60);
      layer->sustain = Number(words, source, number, "sustain", 0, 1);
      layer->release = Number(words, source, number, "release", 0.001, 60);
    } else if (key == "drive") {
      layer->drive = Number(words, source, number, key, 0, 50);
    } else if (key == "lowpass") {
      layer->lowpass = ReadSweep(words, source, number, key, 10, 22000);
    } else if (key == "highpass") {
      layer->highpass = ReadSweep(words, source, number, key, 10, 22000);
    } else if (key == "resonance") {
      layer->resonance = Number(words, source, number, key, 0.1, 20);
    } else if (key == "seed") {
      layer->seed = uint32_t(Number(words, source, number, key, 0, 4294967295.0));
    } else {
      Fail(source, number, "unknown word '" + key + "'");
    }
    std::string extra;
    if (words >> extra) Fail(source, number, "unexpected '" + extra + "'");
  }
  if (!has_length) Fail(source, number, "no length given");
  if (recipe.layers.empty()) Fail(source, number, "no layers");
  for (const Layer& layer : recipe.layers)
    if (layer.at >= recipe.length) Fail(source, number, "a layer starts after the effect ends");
  if (recipe.fade_in + recipe.fade_out > recipe.length)
    Fail(source, number, "the fades are longer than the effect");
  return recipe;
}

std::vector<int16_t> Render(const Recipe& recipe) {
  std::vector<double> mix(size_t(std::lround(recipe.length * recipe.rate)), 0.0);
  for (const Layer& layer : recipe.layers) RenderLayer(layer, recipe, mix);
  // Fades to exact zero at both ends, then the level is set by the loudest sample.
  const double last = double(mix.size() - 1);
  const double fade_in = recipe.fade_in * recipe.rate, fade_out = recipe.fade_out * recipe.rate;
  double loudest = 0;
  for (size_t i = 0; i < mix.size(); ++i) {
    const double from_start = double(i), from_end = last - double(i);
    if (from_start < fade_in) mix[i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * from_start / fade_in);
    if (from_end < fade_out) mix[i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * from_end / fade_out);
    loudest = std::max(loudest, std::abs(mix[i]));
  }
  if (loudest == 0) throw SoundError("the effect is silent");
  const double scale = recipe.peak * 32767 / loudest;
  std::vector<int16_t> samples(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) samples[i] = int16_t(std::lround(mix[i] * scale));
  return samples;
}

std::vector<uint8_t> WaveFile(const std::vector<int16_t>& samples, int rate) {
  const uint32_t data_bytes = uint32_t(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + data_bytes);
  PutTag(out, "RIFF");
  Put32(out, 36 + data_bytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, uint32_t(rate));
  Put32(out, uint32_t(rate) * 2);  // bytes a second
  Put16(out, 2);                   // bytes a frame
  Put16(out, 16);                  // bits a sample
  PutTag(out, "data");
  Put32(out, data_bytes);
  for (const int16_t sample : samples) Put16(out, uint16_t(sample));
  return out;
}

}  // namespace bd::sound
