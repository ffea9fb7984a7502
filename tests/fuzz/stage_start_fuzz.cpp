// Any stage, started and played: the first 112 bytes are one packed stage
// (frames, codes 10..15, hundreds of guards and all), the rest are keys.
// Stage start and the play tick must stay inside every grid and list.
// Built by the fuzz preset.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/headless/headless_services.h"
#include "tests/fuzz/fuzz_keys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bd::platform::HeadlessServices headless;
  bd::TApp* app = &bd::fuzz::StartedApp(headless);

  bd::TPackedStage packed;
  const size_t stage_bytes = std::min(size, packed.bytes.size());
  std::memcpy(packed.bytes.data(), data, stage_bytes);
  app->editor.SetStage(0, bd::UnpackStage(packed));
  app->EditMode();
  app->SelectEditStage(0);
  app->TestPlay();
  bd::fuzz::Check(bd::fuzz::ListsWithinCapacity(app->game.play()));
  bd::fuzz::PlayKeys(*app, data + stage_bytes, size - stage_bytes);
  return 0;
}
