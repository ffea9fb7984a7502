#include "tools/sound/sound_files.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tools/sound/score.h"
#include "tools/sound/synth.h"

namespace bd::sound {
namespace {

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SoundError("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::filesystem::path> Sources(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == ".txt") found.push_back(entry.path());
  std::sort(found.begin(), found.end());  // the directory's own order differs between machines
  return found;
}

}  // namespace

std::vector<SoundFile> MakeSoundFiles(const std::filesystem::path& sounds,
                                      const std::filesystem::path& music) {
  std::vector<SoundFile> files;
  for (const auto& path : Sources(sounds)) {
    const Recipe recipe = ParseRecipe(ReadWholeFile(path), path.string());
    const std::vector<int16_t> samples = Render(recipe);
    files.push_back({path.stem().string() + ".wav", path, WaveFile(samples, recipe.rate),
                     double(samples.size()) / recipe.rate});
  }
  for (const auto& path : Sources(music)) {
    const Score score = ParseScore(ReadWholeFile(path), path.string());
    files.push_back({path.stem().string() + ".mid", path, MidiFile(score), Seconds(score)});
  }
  return files;
}

}  // namespace bd::sound
