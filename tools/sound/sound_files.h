// The game's effects and music, made from their text sources: every
// SOUNDS/NAME.txt recipe becomes NAME.wav and every MUSIC/NAME.txt score NAME.mid.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bd::sound {

struct SoundFile {
  std::string name;  // "dig.wav"
  std::filesystem::path source;
  std::vector<uint8_t> bytes;
  double seconds = 0;
};

// In name order, effects first. Throws SoundError or ScoreError naming the source and line.
std::vector<SoundFile> MakeSoundFiles(const std::filesystem::path& sounds,
                                      const std::filesystem::path& music);

}  // namespace bd::sound
