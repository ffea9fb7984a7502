// The game's own music and effects as SdlAudio delivers them, recorded on
// SDL's disk driver with each General MIDI font the game may find: every
// piece alone, then with the effects a recorded solution sets off fired over
// it. Nothing may clip, the pieces' loudness must sit in its ranges (and agree
// between the fonts), and each effect must stand out from the music.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "tools/sound/recorder.h"

namespace bd::sound {
namespace {

namespace fs = std::filesystem;

constexpr double kLongest = 240;  // seconds of cues: more than any piece lasts

std::string SolutionTrace() {
  const std::string command =
      std::string(BD_REPLAY) + " --builtin 4 --ticks 800 --input " + BD_SOLUTIONS + "/stage05.keys --trace";
  std::FILE* replay = popen(command.c_str(), "r");
  std::string trace;
  if (!replay) return trace;
  char block[65536];
  for (size_t got; (got = std::fread(block, 1, sizeof block, replay)) > 0;) trace.append(block, got);
  pclose(replay);
  return trace;
}

TEST(DeliveredSound, NoClippingLoudnessInRangeAndEffectsOverTheMusic) {
  const std::string trace = SolutionTrace();
  ASSERT_NE(trace.find("\"take\""), std::string::npos) << "no effects in the replay of stage 5";
  char folder[] = "/tmp/bd_delivered_sound_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const fs::path assets = BD_ASSETS_DIR;

  // TimGM6mb is the game's first choice; FluidR3_GM what a machine may have instead.
  std::map<std::string, std::map<std::string, double>> loudness;  // font, piece: LUFS
  for (const char* font : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
    SCOPED_TRACE(font);
    ASSERT_TRUE(fs::exists(font)) << "scripts/install-deps.sh installs both fonts";
    for (const char* name : {"tit", "mus1", "mus2", "mus3", "mus4"}) {
      SCOPED_TRACE(name);
      const fs::path piece = assets / "music" / (std::string(name) + ".mid");
      std::istringstream moments(trace);
      MixReport report;
      ASSERT_NO_THROW(report =
                          MeasureMix(font, piece.string(),
                                     CuesFromTrace(moments, (assets / "sounds").string(), kLongest), folder));
      loudness[font][name] = report.loudness;
      EXPECT_EQ(report.clipped_alone, 0u) << "clipped samples in the piece alone";
      EXPECT_EQ(report.clipped_mixed, 0u) << "clipped samples with the effects over it";
      EXPECT_LT(report.residue, 64) << "the two recordings differ away from the effects: margins unreliable";
      std::map<std::string, const HeardEffect*> worst;
      for (const HeardEffect& heard : report.effects)
        if (!worst[heard.wave] || heard.margin < worst[heard.wave]->margin) worst[heard.wave] = &heard;
      EXPECT_GE(worst.size(), 3u) << "dig, take and kil at least were fired";
      for (const auto& [wave, heard] : worst)
        EXPECT_GE(heard->margin, 6.0) << wave << " at " << heard->at << " s, in the octave at "
                                      << kOctaveCentres[heard->octave] << " Hz";
    }
    const auto& lufs = loudness[font];
    EXPECT_GE(lufs.at("mus1"), -18.0);
    EXPECT_LE(lufs.at("mus1"), -15.0);
    EXPECT_GE(lufs.at("tit"), -18.0);
    EXPECT_LE(lufs.at("tit"), -14.0);
    EXPECT_LE(lufs.at("mus2"), lufs.at("mus1") + 3);
    EXPECT_LE(lufs.at("mus3"), lufs.at("mus2"));
    EXPECT_LE(lufs.at("mus4"), lufs.at("mus2"));
  }
  for (const auto& [name, lufs] : loudness.begin()->second)
    EXPECT_NEAR(loudness.rbegin()->second.at(name), lufs, 3.0) << name << ": the fonts disagree";
  fs::remove_all(folder);
}

}  // namespace
}  // namespace bd::sound
