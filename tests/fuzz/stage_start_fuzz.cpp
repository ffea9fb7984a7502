// Any bytes as six packed stages, started one after another and played for a
// while with keys taken from the same bytes: stage start and the play
// tick must keep to their grids and lists whatever the stages hold (codes
// 10..15, no frame, a guard start in every cell). Built by the fuzz preset.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "app/app.h"
#include "platform/headless/headless_services.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bd::platform::HeadlessServices headless;
  static bd::TApp* app = [] {
    auto* created = new bd::TApp(headless.services());
    created->Startup();
    return created;
  }();

  headless.audio.waves.clear();  // the record of sounds would otherwise grow run after run
  headless.audio.music_calls.clear();
  for (int k = 0; k < bd::kEditStageCount; ++k) {
    bd::PackedStage packed;
    const size_t offset = static_cast<size_t>(k) * bd::kPackedStageBytes;
    if (offset < size)
      std::memcpy(packed.bytes.data(), data + offset, std::min(size - offset, packed.bytes.size()));
    app->editor.stages[k] = bd::UnpackStage(packed);
  }
  // The same bytes, read again, are the keys: each holds a key in its low
  // bits, down or up in bit 3 and how many ticks to run after it in its top
  // three. Every input thus plays, whatever its length.
  constexpr uint16_t kKeys[] = {bd::vkLeft, bd::vkUp, bd::vkRight, bd::vkDown, bd::vkZ, bd::vkX};
  constexpr size_t kMaxKeyBytes = 64;
  const uint8_t* keys = data;
  const size_t key_count = std::min(size, kMaxKeyBytes);

  for (int k = 0; k < bd::kEditStageCount; ++k) {
    app->editor.current_stage = k;
    app->TestPlay();
    if (app->game.play.guard_count > bd::kListCapacity || app->game.play.gold.count > bd::kListCapacity ||
        app->game.play.ladders.count > bd::kListCapacity) {
      __builtin_trap();
    }
    for (size_t i = 0; i < key_count; ++i) {
      const uint8_t byte = keys[i];
      const uint16_t key = kKeys[(byte & 7) % 6];
      if (byte & 8) {
        app->KeyDown(key);
      } else {
        app->KeyUp(key);
      }
      for (int t = 0; t <= byte >> 5; ++t) app->PlayTick();
    }
  }
  return 0;
}
