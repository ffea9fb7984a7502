#include "stage/builtin_stages.h"

namespace bd {
namespace {

// Placeholder layouts: the frame alone, until the designed stages are added.
constexpr PackedStage FrameOnlyStage() {
  PackedStage packed{};
  for (int row = 0; row < kStageRows; ++row) {
    for (int b = 0; b < kPackedRowBytes; ++b) {
      uint8_t byte = 0;
      if (row == kStageRows - 1) {
        byte = 0x22;
      } else if (b == 0) {
        byte = 0x20;
      } else if (b == kPackedRowBytes - 1) {
        byte = 0x02;
      }
      packed.bytes[row * kPackedRowBytes + b] = byte;
    }
  }
  return packed;
}

constexpr TBuiltInStages MakeTable() {
  TBuiltInStages table{};
  for (auto& stage : table) stage = FrameOnlyStage();
  return table;
}

}  // namespace

const TBuiltInStages BuiltInStages = MakeTable();

}  // namespace bd
