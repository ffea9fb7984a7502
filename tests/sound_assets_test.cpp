// The effects and music the game ships: they must be what their sources make
// today, and each must be a file the game can play. The files are read here
// with readers of their own, not the writers' code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "tools/sound/score.h"
#include "tools/sound/sound_files.h"
#include "tools/sound/synth.h"

namespace bd::sound {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t Little(const Bytes& b, size_t at, int size) {
  uint32_t value = 0;
  for (int k = size - 1; k >= 0; --k) value = value << 8 | b.at(at + size_t(k));
  return value;
}

struct PcmWave {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
};

PcmWave ReadWave(const Bytes& b) {
  PcmWave wave;
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE" || Little(b, 4, 4) != b.size() - 8)
    throw std::runtime_error("not a RIFF WAVE file");
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string tag(b.begin() + long(at), b.begin() + long(at) + 4);
    const uint32_t size = Little(b, at + 4, 4);
    if (tag == "fmt ") {
      wave.format = int(Little(b, at + 8, 2));
      wave.channels = int(Little(b, at + 10, 2));
      wave.rate = int(Little(b, at + 12, 4));
      wave.bits = int(Little(b, at + 22, 2));
    } else if (tag == "data") {
      for (size_t k = 0; k + 1 < size; k += 2) wave.samples.push_back(int16_t(Little(b, at + 8 + k, 2)));
    }
    at += 8 + size + (size & 1);
  }
  return wave;
}

// What the tests need to know of a standard MIDI file.
struct MidiSummary {
  int format = -1;
  double seconds = 0;
  std::vector<std::string> names;       // each track's name
  std::vector<std::set<int>> channels;  // each track's channels that play notes, 1..16
  std::multiset<int> drum_keys;         // keys played on channel 10
  std::map<int, int> programs;          // channel -> last program, 0-based
  int hanging = 0;                      // notes started and never ended
};

MidiSummary ReadMidi(const Bytes& b) {
  const auto big = [&](size_t at, int size) {
    uint32_t value = 0;
    for (int k = 0; k < size; ++k) value = value << 8 | b.at(at + size_t(k));
    return value;
  };
  if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd" || big(4, 4) != 6)
    throw std::runtime_error("no MThd header");
  MidiSummary midi;
  midi.format = int(big(8, 2));
  const uint32_t count = big(10, 2), division = big(12, 2);
  if (division == 0 || (division & 0x8000)) throw std::runtime_error("not a ticks-per-quarter file");
  std::map<uint32_t, uint32_t> tempos = {{0, 500000}};
  uint32_t end = 0;
  size_t at = 14;
  for (uint32_t t = 0; t < count; ++t) {
    if (std::string(b.begin() + long(at), b.begin() + long(at) + 4) != "MTrk")
      throw std::runtime_error("no MTrk");
    const size_t stop = at + 8 + big(at + 4, 4);
    at += 8;
    midi.names.emplace_back();
    midi.channels.emplace_back();
    std::map<std::pair<int, int>, int> sounding;
    uint32_t tick = 0;
    uint8_t status = 0;
    bool ended = false;
    const auto variable = [&] {
      uint32_t value = 0;
      uint8_t byte = 0;
      do {
        byte = b.at(at++);
        value = value << 7 | (byte & 0x7F);
      } while (byte & 0x80);
      return value;
    };
    while (at < stop) {
      if (ended) throw std::runtime_error("events after the end of a track");
      tick += variable();
      if (b.at(at) & 0x80) status = b.at(at++);
      const int kind = status >> 4, channel = (status & 0x0F) + 1;
      if (status == 0xFF) {
        const uint8_t type = b.at(at++);
        const uint32_t length = variable();
        if (type == 0x51) tempos[tick] = big(at, 3);
        if (type == 0x03) midi.names.back().assign(b.begin() + long(at), b.begin() + long(at + length));
        if (type == 0x2F) ended = true;
        at += length;
      } else if (status == 0xF0 || status == 0xF7) {
        at += variable();
      } else if (kind == 0x8 || kind == 0x9) {
        const int key = b.at(at), velocity = b.at(at + 1);
        at += 2;
        if (kind == 0x9 && velocity > 0) {
          ++sounding[{channel, key}];
          midi.channels.back().insert(channel);
          if (channel == kDrumChannel) midi.drum_keys.insert(key);
        } else if (sounding[{channel, key}] > 0) {
          --sounding[{channel, key}];
        }
      } else if (kind == 0xC) {
        midi.programs[channel] = b.at(at++);
      } else if (kind == 0xD) {
        ++at;
      } else if (kind >= 0x8 && kind <= 0xE) {
        at += 2;
      } else {
        throw std::runtime_error("a data byte with no status before it");
      }
    }
    if (!ended || at != stop) throw std::runtime_error("a track without its end");
    for (const auto& [note, open] : sounding) midi.hanging += open;
    end = std::max(end, tick);
  }
  uint32_t from = 0, micros = 500000;
  for (const auto& [tick, tempo] : tempos) {
    if (tick > end) break;
    midi.seconds += double(tick - from) / division * micros / 1e6;
    from = tick;
    micros = tempo;
  }
  midi.seconds += double(end - from) / division * micros / 1e6;
  return midi;
}

const fs::path kSounds = BD_SOUNDS_DIR, kMusic = BD_MUSIC_DIR;

TEST(SoundAssets, CommittedFilesAreWhatTheSourcesMake) {
  const fs::path out = fs::path(::testing::TempDir()) / "bd_sound_asset_tests";
  fs::remove_all(out);
  fs::create_directories(out);
  const std::string command = std::string("\"") + BD_MAKE_SOUNDS + "\" \"" + kSounds.string() + "\" \"" +
                              kMusic.string() + "\" \"" + out.string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  std::set<std::string> made;
  for (const auto& entry : fs::directory_iterator(out)) made.insert(entry.path().filename().string());
  EXPECT_EQ(made, (std::set<std::string>{"dig.wav", "take.wav", "kil.wav", "dying.wav", "tit.mid", "mus1.mid",
                                         "mus2.mid", "mus3.mid", "mus4.mid"}));
  // A second making, in this process, must agree byte for byte with the tool's.
  const std::vector<SoundFile> again = MakeSoundFiles(kSounds, kMusic);
  for (const SoundFile& file : again) {
    const fs::path committed = (file.name.ends_with(".wav") ? kSounds : kMusic) / file.name;
    EXPECT_TRUE(ReadBytes(out / file.name) == file.bytes)
        << file.name << " differs from one making to the next";
    EXPECT_TRUE(ReadBytes(committed) == file.bytes)
        << committed << " is stale: rebuild with cmake --build --preset default --target sounds";
  }
  fs::remove_all(out);
}

TEST(SoundAssets, EffectsAreCleanMonoPcmOfTheirLength) {
  const struct {
    const char* name;
    double shortest, longest;
  } kEffects[] = {
      {"dig.wav", 0.1, 0.5}, {"take.wav", 0.1, 0.5}, {"kil.wav", 0.2, 0.8}, {"dying.wav", 0.4, 1.5}};
  for (const auto& effect : kEffects) {
    SCOPED_TRACE(effect.name);
    PcmWave wave;
    ASSERT_NO_THROW(wave = ReadWave(ReadBytes(kSounds / effect.name)));
    EXPECT_EQ(wave.format, 1);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.bits, 16);
    ASSERT_GE(wave.rate, 22050);
    const double seconds = double(wave.samples.size()) / wave.rate;
    EXPECT_GE(seconds, effect.shortest);
    EXPECT_LE(seconds, effect.longest);

    int peak = 0;
    for (const int16_t sample : wave.samples) peak = std::max(peak, std::abs(int(sample)));
    EXPECT_GE(peak, 0.7 * 32767);
    EXPECT_LE(peak, 0.97 * 32767) << "too near full scale: it would clip once mixed";

    // No click: each end starts from silence and stays well under the peak for its first half millisecond.
    const auto& s = wave.samples;
    EXPECT_LE(std::abs(s.front()), 327);
    EXPECT_LE(std::abs(s.back()), 327);
    const size_t edge = size_t(wave.rate / 2000);
    int start = 0, finish = 0;
    for (size_t k = 0; k < edge; ++k) {
      start = std::max(start, std::abs(int(s[k])));
      finish = std::max(finish, std::abs(int(s[s.size() - 1 - k])));
    }
    EXPECT_LT(start, peak / 2);
    EXPECT_LT(finish, peak / 2);
  }
}

TEST(SoundAssets, MusicIsStandardMidiOfItsLength) {
  const struct {
    const char* name;
    double shortest, longest;
    bool drums;
  } kPieces[] = {{"tit.mid", 20, 90, true},
                 {"mus1.mid", 180, 240, true},  // longer than most players take on a stage
                 {"mus2.mid", 10, 45, true},
                 {"mus3.mid", 3, 12, false},
                 {"mus4.mid", 20, 90, true}};
  for (const auto& piece : kPieces) {
    SCOPED_TRACE(piece.name);
    MidiSummary midi;
    ASSERT_NO_THROW(midi = ReadMidi(ReadBytes(kMusic / piece.name)));
    EXPECT_TRUE(midi.format == 0 || midi.format == 1);
    EXPECT_GE(midi.seconds, piece.shortest);
    EXPECT_LE(midi.seconds, piece.longest);
    EXPECT_EQ(midi.hanging, 0);

    std::set<int> voices;
    for (size_t t = 0; t < midi.names.size(); ++t) {
      voices.insert(midi.channels[t].begin(), midi.channels[t].end());
      if (midi.channels[t].count(kDrumChannel) || midi.names[t] == "Drums") {
        EXPECT_EQ(midi.channels[t], std::set<int>{kDrumChannel}) << "in track " << midi.names[t];
      }
    }
    EXPECT_GE(voices.size() - voices.count(kDrumChannel), 3u) << "a tune, a harmony and a bass at least";
    EXPECT_EQ(voices.count(kDrumChannel) == 1, piece.drums);
    for (const int key : midi.drum_keys) EXPECT_TRUE(key >= 35 && key <= 81) << "no percussion sound " << key;
    EXPECT_EQ(midi.programs.count(kDrumChannel), 0u) << "a program change on the drum channel";
  }
}

TEST(ScoreText, PlaysPhrasesRepeatsAndTransposesAsWritten) {
  const Score score = ParseScore(R"(
tempo 120
time 3/4
define up { C4:8 E4 transpose 7 C4 }   # the transpose ends with the phrase
track Tune channel 2 program 10
  repeat 2 { play up } |
  transpose 12 play up E4:4. |
  transpose 0 gate 50 <C4 G4>:2~8 tempo 60 r:8 |
  Bb3:8t A#3 r r:2 |
track Drums channel 10
  hat:2. | hat | hat | kick |
)",
                                 "test");
  ASSERT_EQ(score.tracks.size(), 2u);
  std::vector<std::vector<uint32_t>> notes;
  for (const Note& note : score.tracks[0].notes)
    notes.push_back({note.tick, uint32_t(note.key), note.length});
  EXPECT_EQ(notes, (std::vector<std::vector<uint32_t>>{{0, 60, 240},
                                                       {240, 64, 240},
                                                       {480, 67, 240},
                                                       {720, 60, 240},
                                                       {960, 64, 240},
                                                       {1200, 67, 240},
                                                       {1440, 72, 240},
                                                       {1680, 76, 240},
                                                       {1920, 79, 240},
                                                       {2160, 76, 720},
                                                       {2880, 60, 600},
                                                       {2880, 67, 600},
                                                       {4320, 58, 80},
                                                       {4480, 58, 80}}));
  std::vector<int> drums;
  for (const Note& note : score.tracks[1].notes) drums.push_back(note.key);
  EXPECT_EQ(drums, (std::vector<int>{42, 42, 42, 36}));

  // 8.5 beats at 120 up to the tempo change, then 3.5 beats at 60.
  EXPECT_DOUBLE_EQ(Seconds(score), 7.75);
  const MidiSummary midi = ReadMidi(MidiFile(score));
  EXPECT_DOUBLE_EQ(midi.seconds, 7.75);
  EXPECT_EQ(midi.names, (std::vector<std::string>{"", "Tune", "Drums"}));
  EXPECT_EQ(midi.programs, (std::map<int, int>{{2, 9}}));
  EXPECT_EQ(midi.hanging, 0);
}

TEST(SourceErrors, NameTheFileAndLine) {
  const auto score_error = [](const std::string& text) {
    try {
      ParseScore(text, "song.txt");
    } catch (const ScoreError& error) {
      return std::string(error.what());
    }
    return std::string("no error");
  };
  const std::string head = "tempo 100\ntrack Lead channel 1\n";
  EXPECT_EQ(score_error(head + "C4:4 D4 E4 F4 |\nG4 H4 A4 B4 |\n"),
            "song.txt:4: bad note name 'H4' (like C4, F#3, Bb5)");
  EXPECT_EQ(score_error(head + "C4:4 D4 E4 |\n"), "song.txt:3: a bar line at bar 1 beat 4");
  EXPECT_EQ(score_error(head + "C4:4~ D4 E4 F4\n"),
            "song.txt:3: bad length '' (1 2 4 8 16 32, with '.', 't' or '~')");
  EXPECT_EQ(score_error(head + "C4:4\nplay chorus\n"), "song.txt:4: no phrase called 'chorus'");
  EXPECT_EQ(score_error(head + "snare:4\n"), "song.txt:3: drum 'snare' outside the drum channel");
  EXPECT_EQ(score_error(head + "repeat 2 { C4:4\n"), "song.txt:3: '{' is never closed");
  EXPECT_EQ(score_error(head + "C4:1\ntrack Bass channel 2\nC2:2\n"),
            "song.txt:4: track 'Bass' ends at bar 1 beat 3, the longest at bar 2 beat 1");
  EXPECT_EQ(score_error("define a { play a }\n" + head + "play a\n"),
            "song.txt:1: phrases play each other without end");

  const auto recipe_error = [](const std::string& text) {
    try {
      ParseRecipe(text, "boom.txt");
    } catch (const SoundError& error) {
      return std::string(error.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(recipe_error("length 0.3\nlayer sine\n  pitch 100 50\n  wobble 3\n"),
            "boom.txt:4: unknown word 'wobble'");
  EXPECT_EQ(recipe_error("length 0.3\npitch 100\n"), "boom.txt:2: 'pitch' belongs to a layer; none started");
  EXPECT_EQ(recipe_error("length 0.3\nlayer hum\n"),
            "boom.txt:2: unknown wave 'hum' (sine, square, triangle, saw, noise)");
}

// Pitch, sweep and level come out of the synthesiser as the recipe asks.
TEST(EffectRecipe, PitchSweepAndLevelAreAsWritten) {
  const auto crossings = [](const std::vector<int16_t>& s, size_t from, size_t to) {
    int count = 0;
    for (size_t k = from + 1; k < to; ++k) count += (s[k - 1] < 0) != (s[k] < 0);
    return count;
  };
  const std::vector<int16_t> steady =
      Render(ParseRecipe("length 1\npeak 0.8\nlayer sine\npitch 441\n", "steady"));
  ASSERT_EQ(steady.size(), 44100u);
  EXPECT_NEAR(crossings(steady, 0, steady.size()), 882, 2);           // two a cycle
  EXPECT_EQ(*std::max_element(steady.begin(), steady.end()), 26214);  // 0.8 of full scale
  EXPECT_EQ(steady.front(), 0);
  EXPECT_EQ(steady.back(), 0);

  // An exponential sweep from 200 to 800 Hz: a quarter of the way in it is at 283 Hz, three quarters in at
  // 566.
  const std::vector<int16_t> sweep = Render(ParseRecipe("length 1\nlayer saw\npitch 200 800\n", "sweep"));
  EXPECT_NEAR(crossings(sweep, 8820, 13230), 2 * 283 / 10, 3);
  EXPECT_NEAR(crossings(sweep, 30870, 35280), 2 * 566 / 10, 3);
}

}  // namespace
}  // namespace bd::sound
