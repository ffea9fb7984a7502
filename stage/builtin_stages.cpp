#include "stage/builtin_stages.h"

#include "stage/tile_chars.h"

namespace bd {
namespace {

using TStageText = std::array<const char*, kStageRows>;

// stage/stages/stageNN.txt, one block a stage, in order.
constexpr TStageText kStageTexts[] = {
#include "builtin_stage_rows.inc"
};
static_assert(std::size(kStageTexts) == kBuiltInStageCount, "one text file for every built-in stage");

constexpr PackedStage PackText(const TStageText& rows) {
  PackedStage packed{};
  for (int row = 0; row < kStageRows; ++row) {
    for (int b = 0; b < kPackedRowBytes; ++b) {
      const uint8_t high = TileOfChar(rows[row][2 * b]);
      const uint8_t low = TileOfChar(rows[row][2 * b + 1]);
      packed.bytes[row * kPackedRowBytes + b] = static_cast<uint8_t>(high << 4 | low);
    }
  }
  return packed;
}

constexpr TBuiltInStages MakeTable() {
  TBuiltInStages table{};
  for (int stage = 0; stage < kBuiltInStageCount; ++stage) table[stage] = PackText(kStageTexts[stage]);
  return table;
}

}  // namespace

const TBuiltInStages BuiltInStages = MakeTable();

}  // namespace bd
