#include <gtest/gtest.h>

#include <random>

#include "app/app.h"
#include "platform/headless/headless_services.h"
#include "stage/builtin_stages.h"
#include "stage/play_field.h"
#include "stage/stage_grid.h"
#include "stage/stage_source.h"

namespace bd {
namespace {

TEST(StageGrid, FrameOfAnEmptyStagePacksToItsKnownBytes) {
  TStageGrid grid;
  grid.cells.fill(7);
  ClearToFrame(grid);
  const TPackedStage packed = PackStage(grid);
  for (int row = 0; row < 13; ++row) {
    const uint8_t expected[8] = {0x20, 0, 0, 0, 0, 0, 0, 0x02};
    for (int b = 0; b < 8; ++b)
      EXPECT_EQ(packed.bytes[row * 8 + b], expected[b]) << "row " << row << " byte " << b;
  }
  for (int b = 0; b < 8; ++b) EXPECT_EQ(packed.bytes[13 * 8 + b], 0x22) << "row 13 byte " << b;
}

TEST(StageGrid, PackThenUnpackGivesEveryGridBack) {
  std::mt19937 generator(20261207);
  std::uniform_int_distribution<int> nibble(0, 15);
  for (int round = 0; round < 500; ++round) {
    TStageGrid grid;
    for (auto& cell : grid.cells) cell = static_cast<uint8_t>(nibble(generator));
    ASSERT_EQ(UnpackStage(PackStage(grid)), grid) << "round " << round;
  }
}

TEST(StageGrid, HighNibbleIsTakenUnsignedAndCellsLandInTheirColumns) {
  TPackedStage packed;
  packed.bytes[3] = 0x96;          // row 0, columns 6 and 7
  packed.bytes[5 * 8 + 7] = 0xF1;  // row 5, columns 14 and 15
  const TStageGrid grid = UnpackStage(packed);
  EXPECT_EQ(grid.at(6, 0), 9);
  EXPECT_EQ(grid.at(7, 0), 6);
  EXPECT_EQ(grid.at(14, 5), 15);
  EXPECT_EQ(grid.at(15, 5), 1);
  EXPECT_EQ(grid.at(8, 0), 0);
}

TEST(StageGrid, ExampleRowWithAHiddenLadderInColumnSix) {
  TPackedStage packed;
  const uint8_t row[8] = {0x20, 0x00, 0x00, 0x60, 0x00, 0x00, 0x00, 0x02};
  std::copy(row, row + 8, packed.bytes.begin());
  const TStageGrid grid = UnpackStage(packed);
  const uint8_t expected[16] = {2, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0, 2};
  for (int c = 0; c < 16; ++c) EXPECT_EQ(grid.at(c, 0), expected[c]) << "column " << c;
}

TEST(PlayField, CellAboveStageRowZeroIsTheVirtualRow) {
  TPlayField field;
  field.cells.fill(tcBrick);
  field.WriteVirtualRow();
  for (int column = 0; column < 16; ++column) {
    const int own = TPlayField::IndexOfPixel(column * 32, 0);
    EXPECT_EQ(own, TPlayField::IndexOfStageCell(column, 0));
    const int8_t above = field.cells[own - 16];
    EXPECT_EQ(above, (column == 0 || column == 15) ? tcSolid : tcEmpty) << "column " << column;
  }
  // Divisions truncate toward zero: y = -31 is still stage row 0, only -32 is the virtual row.
  EXPECT_EQ(TPlayField::IndexOfPixel(64, -31), TPlayField::IndexOfStageCell(2, 0));
  EXPECT_EQ(TPlayField::IndexOfPixel(64, -32), 2);
  EXPECT_EQ(TPlayField::IndexOfPixel(480, 13 * 32 + 31), 239);
}

TEST(StageSource, EditorStagesAreReadInPlaceAndBuiltInOnesUnpacked) {
  TEditSet set;
  ClearAll(set);
  set[4].at(3, 3) = tcGold;
  TStageGrid scratch;
  EXPECT_EQ(SourceGridForStage(4, &set, scratch), &set[4]);
  const TStageGrid* built_in = SourceGridForStage(4, nullptr, scratch);
  EXPECT_EQ(built_in, &scratch);
  EXPECT_EQ(*built_in, UnpackStage(BuiltInStages[4]));
  EXPECT_EQ(SourceGridForStage(6, &set, scratch), nullptr);
  EXPECT_EQ(SourceGridForStage(16, nullptr, scratch), nullptr);
  EXPECT_EQ(SourceGridForStage(-1, nullptr, scratch), nullptr);
}

TEST(BuiltInStages, EveryStageKeepsTheFrame) {
  for (int k = 0; k < kBuiltInStageCount; ++k) {
    const TStageGrid grid = UnpackStage(BuiltInStages[k]);
    for (int row = 0; row < 14; ++row) {
      EXPECT_EQ(grid.at(0, row), tcSolid) << "stage " << k + 1 << " row " << row;
      EXPECT_EQ(grid.at(15, row), tcSolid) << "stage " << k + 1 << " row " << row;
    }
    for (int column = 0; column < 16; ++column) EXPECT_EQ(grid.at(column, 13), tcSolid) << "stage " << k + 1;
  }
}

// A stage file may break the frame; its guard starts beyond the 182nd are plain empty cells.
TEST(StageStart, GuardStartsBeyondTheTableCapacityAreIgnored) {
  platform::HeadlessServices headless;
  TApp app(headless.services());
  app.Startup();
  TStageGrid all_guards;
  all_guards.cells.fill(tcGuardStart);
  app.editor.SetStage(0, all_guards);
  app.TestPlay();
  EXPECT_EQ(app.game.play().guard_count, kListCapacity);
  int in_use = 0;
  for (int8_t state : app.game.play().guards.State) in_use += state == 1;
  EXPECT_EQ(in_use, kListCapacity);
  // The 182nd start in reading order is stage cell (5, 11): slot 181 holds it.
  EXPECT_EQ(app.game.play().guards.X[181], 5 * 32);
  EXPECT_EQ(app.game.play().guards.Y[181], 11 * 32);
  for (int index = 16; index < kPlayFieldCells; ++index)
    EXPECT_EQ(app.game.play().field.cells[index], tcEmpty);
}

}  // namespace
}  // namespace bd
