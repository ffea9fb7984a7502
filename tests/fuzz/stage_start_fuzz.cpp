// Any bytes as six packed stages, started one after another: stage start must
// keep to its grids and lists whatever the stages hold (codes 10..15, no
// frame, a guard start in every cell). Built by the fuzz preset.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "app/main_window.h"
#include "platform/headless/headless_services.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bd::platform::HeadlessServices headless;
  static bd::TForm1* form = [] {
    auto* created = new bd::TForm1(headless.services());
    created->FormCreate();
    return created;
  }();

  for (int k = 0; k < bd::kEditStageCount; ++k) {
    bd::PackedStage packed;
    const size_t offset = static_cast<size_t>(k) * bd::kPackedStageBytes;
    if (offset < size)
      std::memcpy(packed.bytes.data(), data + offset, std::min(size - offset, packed.bytes.size()));
    form->EditSet.stages[k] = bd::UnpackStage(packed);
  }
  for (int k = 0; k < bd::kEditStageCount; ++k) {
    form->EditStage = k;
    form->TestPlay1Click();
    if (form->play.guard_count > bd::kListCapacity || form->play.gold.count > bd::kListCapacity ||
        form->play.ladders.count > bd::kListCapacity) {
      __builtin_trap();
    }
  }
  return 0;
}
