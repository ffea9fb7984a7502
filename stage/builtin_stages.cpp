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

constexpr TStageGrid GridOfText(const TStageText& rows) {
  TStageGrid grid{};
  for (int row = 0; row < kStageRows; ++row)
    for (int column = 0; column < kStageColumns; ++column)
      grid.at(column, row) = TileOfChar(rows[row][column]);
  return grid;
}

constexpr TBuiltInStages MakeTable() {
  TBuiltInStages table{};
  for (int stage = 0; stage < kBuiltInStageCount; ++stage)
    table[stage] = PackStage(GridOfText(kStageTexts[stage]));
  return table;
}

}  // namespace

const TBuiltInStages BuiltInStages = MakeTable();

}  // namespace bd
