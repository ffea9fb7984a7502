// Any bytes as a stage file on disk, read by the program's reading step (the
// one Open and Play Edit use) through the headless file service: it must
// refuse exactly what ParseStageFile refuses, with one "Error" box and the
// stages untouched, and take the rest whole, so that writing the set gives
// back the file's first 674 bytes. Each stage of a set it took is then
// test-played for a while with keys from the input, its lists kept within
// capacity. Built by the fuzz preset.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "editor/stage_file.h"
#include "platform/headless/headless_services.h"

namespace {

constexpr int kTicksPerStage = 300;

bool ListsWithinCapacity(const bd::TPlayState& play) {
  return play.guard_count <= bd::kListCapacity && play.gold.count <= bd::kListCapacity &&
         play.ladders.count <= bd::kListCapacity;
}

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bd::platform::HeadlessServices headless;
  static bd::TApp* app = [] {
    auto* created = new bd::TApp(headless.services());
    created->Startup();
    return created;
  }();
  // One file a process, so that parallel jobs do not read each other's.
  static const std::string path = "/tmp/bd_stage_file_fuzz_" + std::to_string(getpid()) + ".bds";

  // The records would otherwise grow run after run.
  headless.audio.waves.clear();
  headless.audio.music_calls.clear();
  headless.dialogs.message_boxes.clear();

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) return 0;

  const auto parsed = bd::ParseStageFile({data, size});
  const bd::TEditSet before = app->editor.stages;
  const bool loaded = app->LoadStageFile(path);
  std::remove(path.c_str());
  Check(loaded == parsed.has_value());
  if (!loaded) {
    Check(headless.dialogs.message_boxes.size() == 1 && app->editor.stages == before);
    return 0;
  }
  Check(headless.dialogs.message_boxes.empty() && app->editor.stages == *parsed);
  const auto bytes = bd::StageFileBytes(app->editor.stages);
  Check(std::equal(bytes.begin(), bytes.end(), data));

  // The keys: the bytes past the set if there are any (the reader ignores
  // them), else the set's own. Each holds a key in its low bits, down or up
  // in bit 3 and how many ticks to run after it in its top three.
  constexpr uint16_t kKeys[] = {bd::vkLeft, bd::vkUp, bd::vkRight, bd::vkDown, bd::vkZ, bd::vkX, bd::vkSpace};
  const bool tail = size > bd::kStageFileBytes;
  const uint8_t* keys = tail ? data + bd::kStageFileBytes : data;
  const size_t key_count = tail ? size - bd::kStageFileBytes : size;

  size_t next = 0;
  for (int k = 0; k < bd::kEditStageCount; ++k) {
    app->EditMode();
    app->SelectEditStage(k);
    app->TestPlay();
    Check(ListsWithinCapacity(app->game.play));
    for (int ticks = 0; ticks < kTicksPerStage;) {
      const uint8_t byte = keys[next++ % key_count];
      const uint16_t key = kKeys[(byte & 7) % 7];
      if (byte & 8) {
        app->KeyDown(key);
      } else {
        app->KeyUp(key);
      }
      for (int t = 0; t <= byte >> 5 && ticks < kTicksPerStage; ++t, ++ticks) {
        app->PlayTick();
        Check(ListsWithinCapacity(app->game.play));
      }
    }
  }
  return 0;
}
