// Any bytes as a stage file on disk, read by the program's reading step (the
// one Open and Play Edit use) through the headless file service: it must
// refuse exactly what ParseStageFile refuses, with one "Error" box and the
// stages untouched, and take the rest whole, so that writing the set gives
// back the file's first 674 bytes. One stage of a set it took, chosen by
// the first byte after the set, is then test-played with the keys that
// follow. Built by the fuzz preset.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "editor/stage_file.h"
#include "platform/headless/headless_services.h"
#include "tests/fuzz/fuzz_keys.h"

using bd::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bd::platform::HeadlessServices headless;
  bd::TApp* app = &bd::fuzz::StartedApp(headless);
  // One file a process, so that parallel jobs do not read each other's.
  static const std::string path = "/tmp/bd_stage_file_fuzz_" + std::to_string(getpid()) + ".bds";

  headless.dialogs.message_boxes.clear();  // counted for this input alone

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) return 0;

  const auto parsed = bd::ParseStageFile({data, size});
  const bd::TEditSet before = app->editor.stages();
  const bool loaded = app->LoadStageFile(path);
  std::remove(path.c_str());
  Check(loaded == parsed.has_value());
  if (!loaded) {
    Check(headless.dialogs.message_boxes.size() == 1 && app->editor.stages() == before);
    return 0;
  }
  Check(headless.dialogs.message_boxes.empty() && app->editor.stages() == *parsed);
  const auto bytes = bd::StageFileBytes(app->editor.stages());
  Check(std::equal(bytes.begin(), bytes.end(), data));

  // The stage and the keys come after the set; a file of 674 bytes plays
  // its first stage without keys.
  const uint8_t* tail = data + bd::kStageFileBytes;
  const size_t tail_size = size - bd::kStageFileBytes;
  app->EditMode();
  app->SelectEditStage(tail_size > 0 ? tail[0] % bd::kEditStageCount : 0);
  app->TestPlay();
  Check(bd::fuzz::ListsWithinCapacity(app->game.play()));
  if (tail_size > 0) {
    bd::fuzz::PlayKeys(*app, tail + 1, tail_size - 1);
  } else {
    bd::fuzz::PlayKeys(*app, nullptr, 0);
  }
  return 0;
}
