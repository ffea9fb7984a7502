#include "stage/builtin_stages.h"

#include "stage/tile_chars.h"

namespace bd {
namespace {

// A practice ground in every slot until the designed stages arrive: floors
// to dig, ladders, a bar, a few pieces of gold and, from the second slot on,
// a guard.
constexpr const char* kPracticeGround[kStageRows] = {
    "S............h.S",  //
    "S.$..........h.S",  //
    "SBBBBHBBBBBBBBBS",  //
    "S....H.........S",  //
    "S....H---------S",  //
    "S....H.........S",  //
    "SBBBBBBBBHBBB..S",  //
    "S........H.....S",  //
    "S........H...$.S",  //
    "S........H.BBBBS",  //
    "S........H.....S",  //
    "S..$..R..H...G.S",  //
    "SBBBBBBBBBBBBBBS",  //
    "SSSSSSSSSSSSSSSS",  //
};

constexpr PackedStage PackText(const char* const (&rows)[kStageRows], bool with_guards) {
  PackedStage packed{};
  for (int row = 0; row < kStageRows; ++row) {
    for (int b = 0; b < kPackedRowBytes; ++b) {
      uint8_t high = TileOfChar(rows[row][2 * b]);
      uint8_t low = TileOfChar(rows[row][2 * b + 1]);
      if (!with_guards && high == tcGuardStart) high = tcEmpty;
      if (!with_guards && low == tcGuardStart) low = tcEmpty;
      packed.bytes[row * kPackedRowBytes + b] = static_cast<uint8_t>(high << 4 | low);
    }
  }
  return packed;
}

constexpr TBuiltInStages MakeTable() {
  TBuiltInStages table{};
  for (auto& stage : table) stage = PackText(kPracticeGround, true);
  table[0] = PackText(kPracticeGround, false);
  return table;
}

}  // namespace

const TBuiltInStages BuiltInStages = MakeTable();

}  // namespace bd
