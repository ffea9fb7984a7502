#include "tools/sound/recorder.h"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <istream>
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

}  // namespace

Recording RecordPiece(const std::string& font, const std::string& piece, const std::vector<Cue>& cues,
                      const std::string& folder) {
  using namespace std::chrono_literals;
  const std::string raw = (std::filesystem::path(folder) / "recording.raw").string();
  std::filesystem::remove(raw);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  // A millisecond a 23 ms buffer: many times faster than real time, yet slow
  // enough for the cues to be fired within a buffer of their moment, and for
  // the silence while FluidSynth reads its font to stay short.
  setenv("SDL_DISKAUDIODELAY", "1", 1);

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
        audio.PlayWave(cues[next].wave);
        take.fired.push_back(frames);
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

  const auto sounds = [&](size_t f) {
    return effects.samples[2 * f] != 0 || effects.samples[2 * f + 1] != 0;
  };
  std::vector<bool> covered(frames, false);
  for (size_t k = 0; k < mixed.fired.size(); ++k) {
    // Each effect starts at the mix after it was asked for and lasts until it ends or the next one is asked.
    size_t begin = mixed.fired[k] - mixed.music_start;
    const size_t limit =
        std::min(frames, k + 1 < mixed.fired.size() ? mixed.fired[k + 1] - mixed.music_start : frames);
    while (begin < limit && !sounds(begin)) ++begin;
    size_t end = limit;
    while (end > begin && !sounds(end - 1)) --end;
    if (end <= begin) continue;  // cut before it was mixed
    std::fill(covered.begin() + long(mixed.fired[k] - mixed.music_start), covered.begin() + long(limit),
              true);
    HeardEffect heard;
    heard.wave = std::filesystem::path(cues[k].wave).filename().string();
    heard.at = double(begin) / effects.rate;
    heard.heard = double(end - begin) / effects.rate;
    const OctaveEnergy own = OctaveEnergies(effects, begin, end);
    heard.octave = own.Loudest();
    const OctaveEnergy under = OctaveEnergies(music, begin, end);
    heard.margin = Decibels(own.band[heard.octave] / under.band[heard.octave]);
    report.effects.push_back(heard);
  }
  for (size_t f = 0; f < frames; ++f)
    if (!covered[f])
      report.residue = std::max({report.residue, std::abs(double(effects.samples[2 * f])),
                                 std::abs(double(effects.samples[2 * f + 1]))});
  return report;
}

}  // namespace bd::sound
