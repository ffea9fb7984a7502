#include "tools/sound/recorder.h"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "platform/sdl/sdl_audio.h"

namespace bd::sound {
namespace {

// Appends what the disk driver has written since the last call, whole frames only.
class GrowingFile {
 public:
  explicit GrowingFile(const std::string& path) : path_(path) {}
  ~GrowingFile() {
    if (file_) std::fclose(file_);
  }
  GrowingFile(const GrowingFile&) = delete;
  GrowingFile& operator=(const GrowingFile&) = delete;

  void ReadInto(Pcm& pcm) {
    if (!file_) file_ = std::fopen(path_.c_str(), "rb");
    if (!file_) return;
    int16_t block[4096];
    for (size_t got; (got = std::fread(block, 2, 4096, file_)) > 0;) {
      pcm.samples.insert(pcm.samples.end(), block, block + got);
      if (got < 4096) break;
    }
    std::clearerr(file_);
    // A frame cut in two is read again whole next time.
    const size_t partial = pcm.samples.size() % size_t(pcm.channels);
    pcm.samples.resize(pcm.samples.size() - partial);
    std::fseek(file_, long(pcm.samples.size() * 2), SEEK_SET);
  }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

// The samples of a mono 16-bit wave, from its data chunk.
std::vector<int16_t> WaveSamples(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t data = bytes.find("data");
  std::vector<int16_t> samples;
  for (size_t at = data + 8; data != std::string::npos && at + 1 < bytes.size(); at += 2)
    samples.push_back(int16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8));
  return samples;
}

}  // namespace

Recording RecordPiece(const std::string& font, const std::string& piece, const std::vector<Cue>& cues,
                      const std::string& folder) {
  using namespace std::chrono_literals;
  const std::string raw = (std::filesystem::path(folder) / "recording.raw").string();
  std::filesystem::remove(raw);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  // Milliseconds of rest after each 23 ms buffer: the music alone runs many
  // times faster than real time, and the silence while FluidSynth reads its
  // font stays short; with cues, slow enough for them to be fired about as
  // far apart as in play, even on a busy machine.
  setenv("SDL_DISKAUDIODELAY", cues.empty() ? "1" : "3", 1);

  Recording take;
  GrowingFile file(raw);
  {
    platform::SdlAudio audio(std::vector<std::string>{font});
    if (audio.Observe().driver != "disk") throw std::runtime_error("SDL's disk driver did not start");
    audio.OpenAndPlayMusic(piece);
    bool started = false;
    size_t next = 0, scanned = 0;
    const auto give_up = std::chrono::steady_clock::now() + 60s;
    for (;;) {
      std::this_thread::sleep_for(1ms);
      file.ReadInto(take.pcm);
      const size_t frames = take.pcm.Frames();
      for (; !started && scanned < take.pcm.samples.size(); ++scanned) {
        if (take.pcm.samples[scanned] != 0) {
          started = true;
          take.music_start = scanned / 2;
        }
      }
      if (!started) {
        if (std::chrono::steady_clock::now() > give_up) throw std::runtime_error(piece + " never sounded");
        continue;
      }
      for (; next < cues.size() && frames - take.music_start >= size_t(cues[next].seconds * take.pcm.rate);
           ++next) {
        // Waits until the worker has started it, so that no two cues merge
        // into one request on a busy machine.
        audio.PlayWave(cues[next].wave);
        audio.Observe();
        take.fired.push_back(frames);
        file.ReadInto(take.pcm);
        take.carried.push_back(take.pcm.Frames());
      }
      if (!audio.Observe().music_playing) break;
    }
  }
  file.ReadInto(take.pcm);
  std::filesystem::remove(raw);
  unsetenv("SDL_DISKAUDIODELAY");
  return take;
}

}  // namespace bd::sound

namespace bd::sound {

std::vector<Cue> CuesFromTrace(std::istream& trace, const std::string& sounds_folder, double seconds) {
  constexpr double kTick = 0.024;
  const std::pair<const char*, const char*> kNames[] = {
      {"\"dig\"", "dig.wav"}, {"\"take\"", "take.wav"}, {"\"kill\"", "kil.wav"}, {"\"dying\"", "dying.wav"}};
  std::vector<Cue> pass;
  std::string line;
  while (std::getline(trace, line)) {
    const size_t tick = line.find("\"tick\":"), effects = line.find("\"effects\":[");
    if (tick == std::string::npos || effects == std::string::npos) continue;
    const std::string list = line.substr(effects + 11, line.find(']', effects) - effects - 11);
    for (const auto& [name, wave] : kNames)
      if (list.find(name) != std::string::npos)
        pass.push_back({std::stod(line.substr(tick + 7)) * kTick,
                        (std::filesystem::path(sounds_folder) / wave).string()});
  }
  if (pass.empty()) return {};
  const double length = pass.back().seconds + 1.0;
  pass.push_back({length - 0.5, (std::filesystem::path(sounds_folder) / "dying.wav").string()});
  std::vector<Cue> cues;
  for (double offset = 0; offset < seconds; offset += length)
    for (const Cue& cue : pass)
      if (offset + cue.seconds < seconds) cues.push_back({offset + cue.seconds, cue.wave});
  return cues;
}

MixReport MeasureMix(const std::string& font, const std::string& piece, const std::vector<Cue>& cues,
                     const std::string& folder) {
  const Recording alone = RecordPiece(font, piece, {}, folder);
  const Recording mixed = RecordPiece(font, piece, cues, folder);
  MixReport report;
  report.loudness = IntegratedLoudness(alone.pcm, alone.music_start);
  report.clipped_alone = ClippedSamples(alone.pcm);
  report.clipped_mixed = ClippedSamples(mixed.pcm);
  for (const int16_t sample : alone.pcm.samples)
    report.peak_alone = std::max(report.peak_alone, std::abs(int(sample)));
  for (const int16_t sample : mixed.pcm.samples)
    report.peak_mixed = std::max(report.peak_mixed, std::abs(int(sample)));

  // The effects alone, and the music under them, frame for frame from the music's start.
  const size_t frames =
      std::min(alone.pcm.Frames() - alone.music_start, mixed.pcm.Frames() - mixed.music_start);
  Pcm effects, music;
  effects.samples.resize(frames * 2);
  music.samples.assign(alone.pcm.samples.begin() + long(alone.music_start * 2),
                       alone.pcm.samples.begin() + long((alone.music_start + frames) * 2));
  for (size_t i = 0; i < frames * 2; ++i)
    effects.samples[i] =
        int16_t(std::clamp(mixed.pcm.samples[mixed.music_start * 2 + i] - music.samples[i], -32768, 32767));

  // Where each effect began: SDL_mixer starts a channel at a mix, so on a
  // buffer's edge soon after the cue's two frames; the edge where the recording
  // shows the wave's first samples, as the channel's volume scales them.
  const size_t edge = size_t(platform::SdlAudio::kBufferFrames);
  std::vector<std::vector<int16_t>> waves;
  std::vector<size_t> starts;  // music frames; SIZE_MAX: never mixed
  for (size_t k = 0; k < mixed.fired.size(); ++k) {
    waves.push_back(WaveSamples(cues[k].wave));
    size_t best = SIZE_MAX, best_matches = 0;
    for (size_t c = (mixed.fired[k] + edge - 1) / edge * edge; c <= mixed.carried[k] + 4 * edge; c += edge) {
      size_t matches = 0;
      for (size_t i = 0; i < std::min<size_t>(512, waves[k].size()); ++i) {
        const size_t f = c + i - mixed.music_start;
        const int expected = waves[k][i] * platform::SdlAudio::kEffectVolume / 128;
        matches += f < frames && std::abs(effects.samples[2 * f] - expected) <= 1;
      }
      if (matches > best_matches) best = c - mixed.music_start, best_matches = matches;
    }
    starts.push_back(best_matches >= 256 ? best : SIZE_MAX);
  }
  std::vector<bool> covered(frames, false);
  for (size_t k = 0; k < starts.size(); ++k) {
    if (starts[k] == SIZE_MAX) continue;  // cut before it was mixed
    // It lasts its length, unless the next one cuts it.
    const size_t begin = starts[k];
    size_t end = std::min(frames, begin + waves[k].size());
    for (size_t n = k + 1; n < starts.size(); ++n)
      if (starts[n] != SIZE_MAX) {
        end = std::min(end, starts[n]);
        break;
      }
    if (end <= begin) continue;  // the next one started in the same mix
    std::fill(covered.begin() + long(begin), covered.begin() + long(end), true);
    HeardEffect heard;
    heard.wave = std::filesystem::path(cues[k].wave).filename().string();
    heard.at = double(begin) / effects.rate;
    heard.heard = double(end - begin) / effects.rate;
    // Judged over its first moments, which tell the player what happened.
    const size_t judged = std::min(end, begin + size_t(kJudgedSeconds * effects.rate));
    const OctaveEnergy own = OctaveEnergies(effects, begin, judged);
    heard.octave = own.Loudest();
    const OctaveEnergy under = OctaveEnergies(music, begin, judged);
    heard.margin = Decibels(own.band[heard.octave] / under.band[heard.octave]);
    report.effects.push_back(heard);
  }
  for (size_t f = 0; f < frames; ++f) {
    const double apart =
        std::max(std::abs(double(effects.samples[2 * f])), std::abs(double(effects.samples[2 * f + 1])));
    if (!covered[f] && apart > report.residue)
      report.residue = apart, report.residue_at = double(f) / effects.rate;
  }
  return report;
}

}  // namespace bd::sound
