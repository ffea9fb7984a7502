// Reading stage files: the byte layout, and LoadStageFile on real files.
#include "editor/stage_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "app/app.h"
#include "platform/headless/headless_services.h"

namespace bd {
namespace {

// Six distinct stages, each with cells a file may hold but the editor never
// paints: nibbles 10..15 and a frame that is not solid.
TEditSet SampleStages() {
  TEditSet stages;
  for (int k = 0; k < kEditStageCount; ++k) {
    TStageGrid& grid = stages[k];
    for (int i = 0; i < kStageColumns * kStageRows; ++i)
      grid.cells[i] = static_cast<uint8_t>((i * 7 + k * 3) % 16);
  }
  return stages;
}

std::vector<uint8_t> FileBytes(const TEditSet& stages) {
  std::vector<uint8_t> bytes = {0x42, 0x44};
  for (const TStageGrid& grid : stages) {
    const TPackedStage packed = PackStage(grid);
    bytes.insert(bytes.end(), packed.bytes.begin(), packed.bytes.end());
  }
  return bytes;
}

TEST(StageFileBytes, CellsLandInTheirStageRowAndColumn) {
  std::vector<uint8_t> bytes(kStageFileBytes, 0);
  bytes[0] = 0x42;
  bytes[1] = 0x44;
  bytes[2 + 112 * 3 + 8 * 5 + 2] = 0xA7;   // stage 3, row 5, columns 4 and 5
  bytes[2 + 112 * 5 + 8 * 13 + 7] = 0x9F;  // the file's last byte: stage 5, row 13, columns 14 and 15
  const auto stages = ParseStageFile(bytes);
  ASSERT_TRUE(stages);
  EXPECT_EQ((*stages)[3].at(4, 5), 10);
  EXPECT_EQ((*stages)[3].at(5, 5), 7);
  EXPECT_EQ((*stages)[5].at(14, 13), 9);
  EXPECT_EQ((*stages)[5].at(15, 13), 15);
  int non_zero = 0;
  for (const TStageGrid& grid : *stages)
    for (uint8_t cell : grid.cells) non_zero += cell != 0;
  EXPECT_EQ(non_zero, 4);
}

TEST(StageFileBytes, OnlyTheMagicAndAFullLengthAreAccepted) {
  const std::vector<uint8_t> good = FileBytes(SampleStages());
  ASSERT_EQ(good.size(), kStageFileBytes);
  EXPECT_EQ(ParseStageFile(good), SampleStages());
  for (const auto& magic : {std::vector<uint8_t>{0x62, 0x64}, {0x44, 0x42}, {0x42, 0x00}, {0x00, 0x44}}) {
    std::vector<uint8_t> bytes = good;
    bytes[0] = magic[0];
    bytes[1] = magic[1];
    EXPECT_FALSE(ParseStageFile(bytes)) << int(magic[0]) << " " << int(magic[1]);
  }
  for (size_t size : {size_t{0}, size_t{1}, size_t{2}, kStageFileBytes - 1})
    EXPECT_FALSE(ParseStageFile(std::span(good).first(size))) << size << " bytes";
}

class LoadStageFile : public ::testing::Test {
 protected:
  LoadStageFile() {
    app.Startup();
    folder =
        std::filesystem::path(::testing::TempDir()) /
        ("bd_stage_file_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(folder);
  }
  ~LoadStageFile() override { std::filesystem::remove_all(folder); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
  }

  // A refused file leaves the set, the caption and the set's file name alone.
  void ExpectRefused(const std::string& path) {
    SCOPED_TRACE(path);
    const TEditSet before = app.editor.stages();
    const std::string caption = headless.window.caption;
    const std::string file_name = app.editor.file_name();
    headless.dialogs.message_boxes.clear();
    EXPECT_FALSE(app.LoadStageFile(path));
    ASSERT_EQ(headless.dialogs.message_boxes.size(), 1u);
    EXPECT_EQ(headless.dialogs.message_boxes[0].text.rfind("Error\nCould not open " + path + ": ", 0), 0u);
    EXPECT_EQ(headless.dialogs.message_boxes[0].caption, "Burrow Dash");
    EXPECT_FALSE(headless.dialogs.message_boxes[0].ok_cancel);
    for (int k = 0; k < kEditStageCount; ++k) EXPECT_EQ(app.editor.stages()[k], before[k]) << "stage " << k;
    EXPECT_EQ(headless.window.caption, caption);
    EXPECT_EQ(app.editor.file_name(), file_name);
  }

  platform::HeadlessServices headless;
  TApp app{headless.services()};
  std::filesystem::path folder;
};

TEST_F(LoadStageFile, AFileWrittenByteForByteLoadsAllSixStagesFromItsFirst674Bytes) {
  std::vector<uint8_t> bytes = FileBytes(SampleStages());
  bytes.resize(700, 0x55);  // what follows the six stages is ignored
  const std::string path = Write("six stages.bds", bytes);
  app.editor.SelectStage(4);
  ASSERT_TRUE(app.LoadStageFile(path));
  for (int k = 0; k < kEditStageCount; ++k)
    EXPECT_EQ(app.editor.stages()[k], SampleStages()[k]) << "stage " << k;
  EXPECT_EQ(headless.window.caption, "Burrow Dash - six stages.bds");
  EXPECT_EQ(app.editor.file_name(), path);
  EXPECT_EQ(app.editor.current_stage(), 4);  // the caller picks the stage to show
  EXPECT_TRUE(headless.dialogs.message_boxes.empty());
}

TEST_F(LoadStageFile, WrongMagicMissingAndShortFilesAreRefused) {
  // Something loaded first, so that "unchanged" is not just the start-up set.
  ASSERT_TRUE(app.LoadStageFile(Write("first.bds", FileBytes(SampleStages()))));

  TEditSet other = SampleStages();
  other[2].at(3, 3) = tcGold;
  std::vector<uint8_t> lower = FileBytes(other);
  lower[0] = 'b';
  lower[1] = 'd';
  ExpectRefused(Write("lower.bds", lower));
  std::vector<uint8_t> swapped = FileBytes(other);
  std::swap(swapped[0], swapped[1]);
  ExpectRefused(Write("swapped.bds", swapped));
  std::vector<uint8_t> short_file = FileBytes(other);
  short_file.pop_back();
  ExpectRefused(Write("short.bds", short_file));
  ExpectRefused(Write("empty.bds", {}));
  ExpectRefused((folder / "missing.bds").string());
}

}  // namespace
}  // namespace bd
