// Measures the game's sound as it is delivered, for the README's figures.
//   bd_sound_meter mix FONT TRACE [PIECE]  every piece recorded through SdlAudio on the disk
//                                       driver, alone and with the effects of a replay trace
//   bd_sound_meter parts FONT [PIECE]   each score's tracks recorded one at a time: the tune
//                                       (the first track) over the others, two bars at a time
//   bd_sound_meter effects              each effect's length, offset, band shares and onsets
//   bd_sound_meter programs FONT        the font's level for each General MIDI program used
// Files are taken from assets/ under the current folder.
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/sound/meter.h"
#include "tools/sound/recorder.h"
#include "tools/sound/score.h"

namespace {

namespace fs = std::filesystem;
using namespace bd::sound;

const char* const kPieces[] = {"tit", "mus1", "mus2", "mus3", "mus4"};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

double SecondsAt(const Score& score, uint32_t tick) {
  Score upto = score;
  upto.end = tick;
  return Seconds(upto);
}

int Mix(const std::string& font, const std::string& trace_path, const std::string& only,
        const fs::path& work) {
  std::printf("font %s\n%-5s %8s %8s %8s %6s %6s  effects: count, least margin dB (octave Hz), cut short\n",
              font.c_str(), "piece", "LUFS", "clipped", "+effects", "peak", "+eff");
  for (const char* name : kPieces) {
    if (!only.empty() && only != name) continue;
    const std::string piece = "assets/music/" + std::string(name) + ".mid";
    const Score score = ParseScore(ReadText("assets/music/" + std::string(name) + ".txt"), name);
    std::ifstream trace(trace_path);
    const MixReport report =
        MeasureMix(font, piece, CuesFromTrace(trace, "assets/sounds", Seconds(score)), work);
    std::printf("%-5s %8.1f %8zu %8zu %6.1f %6.1f ", name, report.loudness, report.clipped_alone,
                report.clipped_mixed, Decibels(std::pow(report.peak_alone / 32768.0, 2)),
                Decibels(std::pow(report.peak_mixed / 32768.0, 2)));
    for (const char* wave : {"dig.wav", "take.wav", "kil.wav", "dying.wav"}) {
      int count = 0, cut = 0;
      const HeardEffect* least = nullptr;
      for (const HeardEffect& heard : report.effects) {
        if (heard.wave != wave) continue;
        ++count;
        if (!least || heard.margin < least->margin) least = &heard;
        cut += heard.heard < 0.09;
      }
      if (count)
        std::printf(" %s %d, %.1f (%g) at %.2f s heard %.3f s, %d;", wave, count, least->margin,
                    kOctaveCentres[least->octave], least->at, least->heard, cut);
    }
    std::printf(" residue %.0f at %.2f s\n", report.residue, report.residue_at);
  }
  return 0;
}

int Parts(const std::string& font, const std::string& only, const fs::path& work) {
  std::printf("font %s\n", font.c_str());
  for (const char* name : kPieces) {
    if (!only.empty() && only != name) continue;
    const Score score = ParseScore(ReadText("assets/music/" + std::string(name) + ".txt"), name);
    const uint32_t bar = uint32_t(kTicksPerQuarter * 4 * score.beats / score.beat_unit), window = 2 * bar;
    // Each track's power in every window of two bars.
    std::vector<std::vector<double>> levels;
    for (const Track& track : score.tracks) {
      Score alone = score;
      alone.tracks = {track};
      const fs::path midi = work / "part.mid";
      const std::vector<uint8_t> bytes = MidiFile(alone);
      std::ofstream(midi, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
      const Recording take = RecordPiece(font, midi.string(), {}, work.string());
      // FluidSynth's dither marks the piece's start even before the track's first note.
      const double start = double(take.music_start);
      int peak = 0;
      for (const int16_t sample : take.pcm.samples) peak = std::max(peak, std::abs(int(sample)));
      std::printf("  %s peaks at %.1f dBFS\n", track.name.c_str(), Decibels(std::pow(peak / 32768.0, 2)));
      levels.emplace_back();
      for (uint32_t t = 0; t < score.end; t += window) {
        const size_t begin = size_t(std::max(0.0, start + SecondsAt(score, t) * take.pcm.rate));
        const size_t end = size_t(start + SecondsAt(score, std::min(t + window, score.end)) * take.pcm.rate);
        levels.back().push_back(KWeightedLevel(take.pcm, begin, end));
      }
    }
    // Windows where the tune sounds for at least half the time.
    std::printf("%s: bars, tune LUFS, then each other track's distance under it (dB)\n", name);
    double worst = 1e9;
    std::vector<double> power(levels.size(), 0.0);  // summed over the windows shown
    for (uint32_t w = 0, t = 0; t < score.end; ++w, t += window) {
      uint32_t sounding = 0;
      for (const Note& note : score.tracks[0].notes)
        if (note.tick < t + window && note.tick + note.length > t)
          sounding += std::min(note.tick + note.length, t + window) - std::max(note.tick, t);
      if (sounding < window / 2) continue;
      std::printf("  %3u-%-3u %6.1f", t / bar + 1, t / bar + 2, levels[0][w]);
      for (size_t k = 0; k < levels.size(); ++k) power[k] += std::pow(10.0, levels[k][w] / 10);
      for (size_t k = 1; k < levels.size(); ++k) {
        const double under = levels[0][w] - levels[k][w];
        worst = std::min(worst, under);
        std::printf("  %s %5.1f", score.tracks[k].name.c_str(), under);
      }
      std::printf("\n");
    }
    std::printf("  least distance %.1f dB; over all these bars:", worst);
    for (size_t k = 1; k < levels.size(); ++k)
      std::printf(" %s %.1f", score.tracks[k].name.c_str(), Decibels(power[0] / power[k]));
    std::printf("\n");
  }
  return 0;
}

// One G4 at velocity 90 on each program, two seconds apart: how loud the font plays each sound.
int Programs(const std::string& font, const fs::path& work) {
  const int kPrograms[] = {5,  13, 33, 34, 39, 41, 48, 49, 50, 56, 57,
                           58, 60, 61, 62, 63, 69, 72, 74, 81, 82, 90};
  Score score;
  score.tempos = {{0, 120}};
  Track track;
  track.name = "probe";
  uint32_t tick = 0;
  for (const int program : kPrograms) {
    track.controls.push_back({tick, ControlKind::kProgram, program - 1});
    track.notes.push_back({tick + 1, kTicksPerQuarter * 2, 67, 90});
    tick += kTicksPerQuarter * 4;
  }
  score.tracks = {track};
  score.end = tick;
  const fs::path midi = work / "programs.mid";
  const std::vector<uint8_t> bytes = MidiFile(score);
  std::ofstream(midi, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
  const Recording take = RecordPiece(font, midi.string(), {}, work.string());
  std::printf("font %s: program LUFS\n", font.c_str());
  for (size_t k = 0; k < std::size(kPrograms); ++k) {
    const size_t begin = take.music_start + k * 2 * size_t(take.pcm.rate);
    std::printf("  %3d %6.1f\n", kPrograms[k],
                KWeightedLevel(take.pcm, begin, begin + size_t(take.pcm.rate)));
  }
  return 0;
}

Pcm ReadWave(const fs::path& path) {
  const std::string bytes = ReadText(path);
  Pcm pcm;
  pcm.channels = 1;
  pcm.rate = int(uint8_t(bytes[24]) | uint8_t(bytes[25]) << 8 | uint8_t(bytes[26]) << 16);
  const size_t data = bytes.find("data") + 8;
  pcm.samples.resize((bytes.size() - data) / 2);
  for (size_t i = 0; i < pcm.samples.size(); ++i)
    pcm.samples[i] = int16_t(uint8_t(bytes[data + 2 * i]) | uint8_t(bytes[data + 2 * i + 1]) << 8);
  return pcm;
}

int Effects() {
  std::printf("%-10s %7s %9s %9s %9s %9s %9s %9s  onsets ms\n", "effect", "seconds", "DC/peak", "<125Hz",
              "150-300", "300-2k", "2-4k", "first90ms");
  for (const char* name : {"dig", "take", "kil", "dying"}) {
    const Pcm wave = ReadWave(fs::path("assets/sounds") / (std::string(name) + ".wav"));
    double sum = 0, peak = 0;
    for (const int16_t s : wave.samples) sum += s, peak = std::max(peak, std::abs(double(s)));
    const double total = BandEnergy(wave, 5, 20000);
    const auto share = [&](double low, double high) { return Decibels(BandEnergy(wave, low, high) / total); };
    const double early = BandEnergy(wave, 5, 20000, 0, size_t(0.09 * wave.rate));
    std::printf("%-10s %7.3f %9.5f %8.1f %9.1f %9.1f %9.1f %9.1f  ", name, double(wave.Frames()) / wave.rate,
                sum / double(wave.samples.size()) / peak, share(5, 125), share(150, 300), share(300, 2000),
                share(2000, 4000), Decibels(early / total));
    // Onsets: 5 ms steps whose energy jumps fourfold over the step before.
    const size_t step = size_t(wave.rate / 200);
    double before = 0;
    for (size_t f = 0; f + step <= wave.Frames(); f += step) {
      double energy = 0;
      for (size_t i = f; i < f + step; ++i) energy += double(wave.samples[i]) * wave.samples[i];
      if (energy > 4 * before && energy > 1e6 * double(step))
        std::printf("%.0f ", 1000.0 * double(f) / wave.rate);
      before = energy;
    }
    std::printf("\n");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    char folder[] = "/tmp/bd_sound_meter_XXXXXX";
    if (!mkdtemp(folder)) throw std::runtime_error("no temporary folder");
    const fs::path work = folder;
    int status = 2;
    if ((args.size() == 3 || args.size() == 4) && args[0] == "mix")
      status = Mix(args[1], args[2], args.size() == 4 ? args[3] : "", work);
    if ((args.size() == 2 || args.size() == 3) && args[0] == "parts")
      status = Parts(args[1], args.size() == 3 ? args[2] : "", work);
    if (args.size() == 1 && args[0] == "effects") status = Effects();
    if (args.size() == 2 && args[0] == "programs") status = Programs(args[1], work);
    fs::remove_all(work);
    if (status == 2)
      std::fprintf(stderr,
                   "usage: %s mix FONT TRACE [PIECE] | parts FONT [PIECE] | effects | programs FONT\n",
                   argv[0]);
    return status;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
