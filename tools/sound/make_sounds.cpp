// Makes the game's effects and music from their text sources.
//   bd_make_sounds SOUNDS_FOLDER MUSIC_FOLDER [OUTPUT_FOLDER]
// Without an output folder each file is written beside its source. A file
// whose bytes are already right is left alone, so its date does not change.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <vector>

#include "tools/sound/sound_files.h"

namespace {

bool SameBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::vector<uint8_t> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return old == bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s SOUNDS_FOLDER MUSIC_FOLDER [OUTPUT_FOLDER]\n", argv[0]);
    return 2;
  }
  try {
    for (const bd::sound::SoundFile& file : bd::sound::MakeSoundFiles(argv[1], argv[2])) {
      const std::filesystem::path path =
          (argc == 4 ? std::filesystem::path(argv[3]) : file.source.parent_path()) / file.name;
      const bool same = SameBytes(path, file.bytes);
      if (!same) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.bytes.data()), std::streamsize(file.bytes.size()));
        if (!out) {
          std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
          return 1;
        }
      }
      std::printf("%-10s %6.2f s %7zu bytes%s\n", file.name.c_str(), file.seconds, file.bytes.size(),
                  same ? "" : "  (written)");
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
