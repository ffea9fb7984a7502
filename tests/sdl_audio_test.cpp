// The SDL_mixer sound service on SDL's dummy driver, which plays in real time
// without a sound card, and on its disk driver, which records what it plays.
// Every wave, piece and font is made here, in a folder of the test's own.
#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace bd::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(value & 0xFF);
  out.push_back(value >> 8 & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
void PutBig32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(value >> shift & 0xFF);
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A mono 16-bit square wave at 44,100 Hz.
void WriteWave(const fs::path& path, double seconds, int16_t amplitude, uint32_t period = 100) {
  const uint32_t frames = static_cast<uint32_t>(seconds * 44100);
  std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
  Put32(out, 36 + frames * 2);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, 44100);
  Put32(out, 44100 * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put32(out, frames * 2);
  for (uint32_t i = 0; i < frames; ++i)
    Put16(out, static_cast<uint16_t>(i % period < period / 2 ? amplitude : -amplitude));
  WriteBytes(path, out);
}

// One track of piano notes, one after another, at 120 beats a minute.
std::vector<uint8_t> Midi(int notes, uint8_t ticks_per_note) {
  std::vector<uint8_t> track{0x00, 0xC0, 0x00};  // piano
  for (int i = 0; i < notes; ++i) {
    const uint8_t key = static_cast<uint8_t>(60 + 4 * (i % 4));
    track.insert(track.end(), {0x00, 0x90, key, 110});
    if (ticks_per_note >= 0x80) track.push_back(0x80 | ticks_per_note >> 7);
    track.insert(track.end(), {static_cast<uint8_t>(ticks_per_note & 0x7F), 0x80, key, 0});
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
  PutBig32(out, static_cast<uint32_t>(track.size()));
  out.insert(out.end(), track.begin(), track.end());
  return out;
}

std::string InstalledFont() {
  for (const std::string& font : SdlAudio::DebianSoundFonts())
    if (fs::exists(font)) return font;
  return {};
}

class SdlAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("SDL_DISKAUDIOFILE");
    char folder[] = "/tmp/bd_sdl_audio_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    dir_ = folder;
  }
  void TearDown() override {
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
    fs::remove_all(dir_);
  }

  std::string File(const std::string& name) const { return (dir_ / name).string(); }
  std::string Wave(const std::string& name, double seconds = 3, int16_t amplitude = 8000) {
    WriteWave(dir_ / name, seconds, amplitude);
    return File(name);
  }
  std::string Piece(const std::string& name, int notes = 8, uint8_t ticks_per_note = 192) {
    WriteBytes(dir_ / name, Midi(notes, ticks_per_note));
    return File(name);
  }
  // The start of a SoundFont, which is all a font candidate is judged by.
  std::string FakeFont(const std::string& name) {
    WriteBytes(dir_ / name, {'R', 'I', 'F', 'F', 4, 0, 0, 0, 's', 'f', 'b', 'k'});
    return File(name);
  }

  // Asks again until the state holds, for what SDL's audio thread does in its time.
  static bool Eventually(SdlAudio& audio, const std::function<bool(const SdlAudio::State&)>& holds,
                         std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!holds(audio.Observe())) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(10ms);
    }
    return true;
  }

  fs::path dir_;
};

TEST_F(SdlAudioTest, HoldsOnlySdlAudioWhileItLivesAndLeavesSignalsAlone) {
  // SDL takes over only signals still at their default; a shell may hand them down ignored.
  const auto inherited = std::signal(SIGINT, SIG_DFL);
  {
    SdlAudio audio;
    EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK | SDL_INIT_VIDEO), 0u);
    struct sigaction interrupt {};
    ASSERT_EQ(sigaction(SIGINT, nullptr, &interrupt), 0);
    EXPECT_EQ(interrupt.sa_handler, SIG_DFL) << "Ctrl+C must still end the game";
    const SdlAudio::State state = audio.Observe();
    EXPECT_EQ(state.driver, "dummy");
    EXPECT_TRUE(state.device_open);
  }
  EXPECT_EQ(SDL_WasInit(0), 0u);
  std::signal(SIGINT, inherited);
}

// A driver that is not there, and one that starts but cannot open its device
// (the disk driver writing into a missing folder, as ALSA without a card).
TEST_F(SdlAudioTest, FallsBackToTheDummyDriverAndStillPlays) {
  const std::string wave = Wave("dig.wav");
  for (const char* driver : {"no-such-driver", "disk"}) {
    SCOPED_TRACE(driver);
    setenv("SDL_AUDIODRIVER", driver, 1);
    setenv("SDL_DISKAUDIOFILE", File("missing/out.raw").c_str(), 1);
    {
      SdlAudio audio;
      audio.PlayWave(wave);
      const SdlAudio::State state = audio.Observe();
      EXPECT_EQ(state.driver, "dummy");
      EXPECT_TRUE(state.device_open);
      EXPECT_TRUE(state.effect_playing);
    }
    EXPECT_EQ(SDL_WasInit(0), 0u);
  }
}

TEST_F(SdlAudioTest, EffectsShareOneChannelAndANewOneCutsTheOld) {
  std::vector<std::string> waves;
  for (const char* name : {"dig.wav", "dying.wav", "take.wav", "kil.wav"}) waves.push_back(Wave(name));
  SdlAudio audio(std::vector<std::string>{});
  for (const std::string& wave : waves) {
    audio.PlayWave(wave);
    const SdlAudio::State state = audio.Observe();
    EXPECT_EQ(state.effect, wave);
    EXPECT_TRUE(state.effect_playing) << wave;
    EXPECT_EQ(state.channels_playing, 1) << wave;
  }
  // Two in a row, before the worker looks: the later one is what sounds.
  audio.PlayWave(waves[0]);
  audio.PlayWave(waves[1]);
  EXPECT_EQ(audio.Observe().effect, waves[1]);

  // Kept once read: the file is not needed again.
  fs::remove(waves[2]);
  audio.PlayWave(waves[2]);
  EXPECT_EQ(audio.Observe().effect, waves[2]);
  EXPECT_TRUE(audio.Observe().effect_playing);

  // A short effect ends by itself.
  const std::string blip = Wave("blip.wav", 0.05);
  audio.PlayWave(blip);
  EXPECT_TRUE(Eventually(audio, [](const SdlAudio::State& state) { return !state.effect_playing; }));
}

TEST_F(SdlAudioTest, MissingOrBrokenWavesAreSilent) {
  const std::string wave = Wave("dig.wav");
  WriteBytes(dir_ / "broken.wav", {'R', 'I', 'F', 'F', 0, 0});
  SdlAudio audio(std::vector<std::string>{});
  for (const std::string& bad : {File("missing.wav"), File("broken.wav"), dir_.string()}) {
    SCOPED_TRACE(bad);
    audio.PlayWave(wave);
    EXPECT_TRUE(audio.Observe().effect_playing);
    EXPECT_NO_THROW(audio.PlayWave(bad));
    const SdlAudio::State state = audio.Observe();
    EXPECT_FALSE(state.effect_playing) << "the sound still playing is cut off all the same";
    EXPECT_TRUE(state.device_open);
  }
}

TEST_F(SdlAudioTest, UnreadableMusicThrowsNamingThePath) {
  std::vector<uint8_t> cut = Midi(8, 192);
  cut.resize(cut.size() - 5);
  WriteBytes(dir_ / "cut.mid", cut);
  std::vector<uint8_t> no_tracks = Midi(1, 96);
  no_tracks[11] = 0;
  WriteBytes(dir_ / "empty.mid", no_tracks);
  std::vector<uint8_t> missing_track = Midi(1, 96);
  missing_track[11] = 2;  // says two tracks, holds one
  WriteBytes(dir_ / "one.mid", missing_track);
  WriteBytes(dir_ / "text.mid", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!'});

  SdlAudio audio({FakeFont("font.sf2")});
  const struct {
    std::string path, reason;
  } cases[] = {{File("tit.mid"), "it does not exist"},          {File("text.mid"), "not a MIDI file"},
               {File("cut.mid"), "ends inside a track"},        {File("empty.mid"), "no track"},
               {File("one.mid"), "ends before its last track"}, {dir_.string(), "it is a folder"},
               {"/dev/zero", "it is not a regular file"}};
  for (const auto& [path, reason] : cases) {
    try {
      audio.OpenAndPlayMusic(path);
      ADD_FAILURE() << "no error for " << path;
    } catch (const PlatformError& error) {
      const std::string what = error.what();
      EXPECT_EQ(what.rfind("Cannot open music " + path + ": ", 0), 0u) << what;
      EXPECT_NE(what.find(reason), std::string::npos) << what;
    }
  }
  EXPECT_NO_THROW(audio.OpenAndPlayMusic(Piece("good.mid")));
}

TEST_F(SdlAudioTest, WithoutASoundFontTheMusicIsSilentAndEffectsPlay) {
  const std::string wave = Wave("dig.wav");
  SdlAudio audio({File("none.sf2"), wave, dir_.string()});  // missing, not a font, a folder
  EXPECT_NO_THROW(audio.OpenAndPlayMusic(File("missing.mid")));
  audio.OpenAndPlayMusic(Piece("tit.mid"));
  audio.PlayWave(wave);
  SdlAudio::State state = audio.Observe();
  EXPECT_EQ(state.sound_font, "");
  EXPECT_EQ(state.music, "");
  EXPECT_FALSE(state.music_playing);
  EXPECT_TRUE(state.effect_playing);
  EXPECT_NO_THROW(audio.StopMusic());
}

TEST_F(SdlAudioTest, TheFontIsTheFirstCandidateThatIsASoundFont) {
  const std::string first = FakeFont("first.sf2"), second = FakeFont("second.sf2");
  SdlAudio audio({File("none.sf2"), dir_.string(), Wave("dig.wav"), File("a;b.sf2"), first, second});
  EXPECT_EQ(audio.Observe().sound_font, first);
}

class SdlMusicTest : public SdlAudioTest {
 protected:
  void SetUp() override {
    SdlAudioTest::SetUp();
    if (InstalledFont().empty()) GTEST_SKIP() << "no General MIDI sound font installed (timgm6mb-soundfont)";
  }
};

TEST_F(SdlMusicTest, OpenPlayStopAndReplace) {
  const std::string title = Piece("tit.mid"), stage = Piece("mus1.mid");
  SdlAudio audio;
  EXPECT_EQ(audio.Observe().sound_font, InstalledFont());

  audio.StopMusic();  // nothing open: nothing happens
  EXPECT_EQ(audio.Observe().music, "");

  audio.OpenAndPlayMusic(title);
  SdlAudio::State state = audio.Observe();
  EXPECT_EQ(state.music, title);
  EXPECT_TRUE(state.music_playing);

  audio.StopMusic();
  state = audio.Observe();
  EXPECT_EQ(state.music, title) << "stopped, still open";
  EXPECT_FALSE(state.music_playing);
  audio.StopMusic();
  EXPECT_FALSE(audio.Observe().music_playing);

  audio.OpenAndPlayMusic(stage);
  const std::string wave = Wave("take.wav");
  audio.PlayWave(wave);
  state = audio.Observe();
  EXPECT_EQ(state.music, stage);
  EXPECT_TRUE(state.music_playing);
  EXPECT_TRUE(state.effect_playing) << "effects play over the music";

  // Asked faster than the worker loads: the latest request wins.
  audio.OpenAndPlayMusic(title);
  audio.OpenAndPlayMusic(stage);
  state = audio.Observe();
  EXPECT_EQ(state.music, stage);
  EXPECT_TRUE(state.music_playing);
  audio.OpenAndPlayMusic(title);
  audio.StopMusic();
  state = audio.Observe();
  EXPECT_EQ(state.music, title);
  EXPECT_FALSE(state.music_playing);
  audio.StopMusic();
  audio.OpenAndPlayMusic(stage);
  EXPECT_TRUE(audio.Observe().music_playing) << "a stop before an open is spent on the old piece";
}

TEST_F(SdlMusicTest, APieceIsPlayedOnceAndAgainFromTheStart) {
  const std::string jingle = Piece("mus4.mid", 3, 24);  // under half a second
  SdlAudio audio;
  audio.OpenAndPlayMusic(jingle);
  EXPECT_TRUE(audio.Observe().music_playing);
  // FluidSynth lets the last notes ring for a few seconds before it calls the piece done.
  ASSERT_TRUE(Eventually(
      audio, [](const SdlAudio::State& state) { return !state.music_playing; }, 10s));
  std::this_thread::sleep_for(300ms);
  SdlAudio::State state = audio.Observe();
  EXPECT_FALSE(state.music_playing) << "played once, not repeated";
  EXPECT_EQ(state.music, jingle);
  audio.OpenAndPlayMusic(jingle);
  EXPECT_TRUE(audio.Observe().music_playing);
}

// The nine files the game ships, as its build makes them.
TEST_F(SdlMusicTest, TheGamesOwnSoundsAndMusicPlay) {
  const fs::path assets = BD_ASSETS_DIR;
  SdlAudio audio;
  for (const char* name : {"dig.wav", "dying.wav", "take.wav", "kil.wav"}) {
    const std::string wave = (assets / "sounds" / name).string();
    audio.PlayWave(wave);
    const SdlAudio::State state = audio.Observe();
    EXPECT_EQ(state.effect, wave);
    EXPECT_TRUE(state.effect_playing) << wave;
  }
  for (const char* name : {"tit.mid", "mus1.mid", "mus2.mid", "mus3.mid", "mus4.mid"}) {
    const std::string piece = (assets / "music" / name).string();
    EXPECT_NO_THROW(audio.OpenAndPlayMusic(piece));
    const SdlAudio::State state = audio.Observe();
    EXPECT_EQ(state.music, piece);
    EXPECT_TRUE(state.music_playing) << piece;
  }
}

// What the disk driver recorded: 16-bit stereo samples, largest magnitude.
int Peak(const fs::path& recording) {
  std::ifstream in(recording, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int peak = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const int16_t sample =
        static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
    peak = std::max(peak, std::abs(int{sample}));
  }
  return peak;
}

TEST_F(SdlAudioTest, TheDiskDriverRecordsWhatIsPlayed) {
  const std::string loud = Wave("kil.wav", 0.2, 20000);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", File("effect.raw").c_str(), 1);
  {
    SdlAudio audio(std::vector<std::string>{});
    audio.Observe();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(Peak(File("effect.raw")), 0) << "silence before the effect";
    audio.PlayWave(loud);
    EXPECT_EQ(audio.Observe().driver, "disk");
    ASSERT_TRUE(Eventually(audio, [](const SdlAudio::State& state) { return !state.effect_playing; }));
    std::this_thread::sleep_for(50ms);
  }
  const int effect = Peak(File("effect.raw"));
  const int expected = 20000 * SdlAudio::kEffectVolume / 128;  // the effect channel's volume
  EXPECT_GE(effect, expected - 200);
  EXPECT_LE(effect, expected + 200);

  if (InstalledFont().empty()) GTEST_SKIP() << "no General MIDI sound font installed (timgm6mb-soundfont)";
  setenv("SDL_DISKAUDIOFILE", File("music.raw").c_str(), 1);
  {
    SdlAudio audio;
    audio.OpenAndPlayMusic(Piece("tit.mid", 4, 48));
    EXPECT_TRUE(audio.Observe().music_playing);
    std::this_thread::sleep_for(400ms);
  }
  EXPECT_GT(Peak(File("music.raw")), 1000) << "FluidSynth played the piece with the font";
}

}  // namespace
}  // namespace bd::platform
