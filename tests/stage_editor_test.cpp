// The stage editor as its user meets it: painting with the mouse, the
// palette, saving, the question before unsaved stages are thrown away, Play
// Edit, and the climb out over a one-cell ladder that stage makers build.
#include "editor/stage_editor.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "editor/stage_file.h"
#include "render/draw.h"
#include "tests/play_fixture.h"

namespace bd::testing {
namespace {

using enum TMouseButton;

class StageEditor : public PlayFixture {
 protected:
  StageEditor() {
    folder =
        std::filesystem::temp_directory_path() /
        ("bd_stage_editor_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    app.editor.DrawPalette();
    app.EditMode();
  }
  ~StageEditor() override { std::filesystem::remove_all(folder); }

  uint8_t Cell(int column, int row) const {
    return app.editor.stages()[app.editor.current_stage()].at(column, row);
  }
  int Invalidations() const { return headless.window.screen_invalidations; }
  // The screen's square of a cell shows this tile picture (black for empty).
  bool SquareShows(int column, int row, uint8_t code) const {
    TSurface expected(kCellPixels, kCellPixels);
    if (code != tcEmpty) CopyCell(expected, 0, 0, app.sprite_sheet(), TileCell(code));
    for (int y = 0; y < kCellPixels; ++y)
      for (int x = 0; x < kCellPixels; ++x)
        if (app.screen.pixel(column * kCellPixels + x, row * kCellPixels + y) != expected.pixel(x, y))
          return false;
    return true;
  }
  std::vector<uint8_t> Bytes(const std::filesystem::path& path) const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::filesystem::path folder;
};

TEST_F(StageEditor, PressesPaintOnlyInteriorCellsAndDrawOnlyWhatChanged) {
  struct Press {
    int x, y;
    int column, row;  // -1: out of reach
  } presses[] = {{31, 100, -1, -1}, {32, 100, 1, 3}, {479, 100, 14, 3}, {480, 100, -1, -1},
                 {100, 0, -1, -1},  {100, 1, 3, 0},  {100, 415, 3, 12}, {100, 416, -1, -1}};
  for (const Press& press : presses) {
    const TEditSet before = app.editor.stages();
    const int drawn = Invalidations();
    app.ScreenMouseDown(Left, press.x, press.y);
    if (press.column < 0) {
      EXPECT_EQ(app.editor.stages(), before) << press.x << "," << press.y;
      EXPECT_EQ(Invalidations(), drawn) << press.x << "," << press.y;
      continue;
    }
    EXPECT_EQ(Cell(press.column, press.row), tcBrick) << press.x << "," << press.y;
    EXPECT_TRUE(SquareShows(press.column, press.row, tcBrick)) << press.x << "," << press.y;
    EXPECT_EQ(Invalidations(), drawn + 1);
  }

  // The same tile again, an erase of an empty cell and the middle button draw nothing.
  const int drawn = Invalidations();
  app.ScreenMouseDown(Left, 40, 110);
  app.ScreenMouseDown(Right, 200, 200);
  app.ScreenMouseDown(Middle, 40, 110);
  EXPECT_EQ(Invalidations(), drawn);
  EXPECT_EQ(Cell(1, 3), tcBrick);

  app.ScreenMouseDown(Right, 40, 110);
  EXPECT_EQ(Cell(1, 3), tcEmpty);
  EXPECT_TRUE(SquareShows(1, 3, tcEmpty));
  EXPECT_EQ(Invalidations(), drawn + 1);

  // Outside edit mode the mouse paints nothing.
  app.TestPlay();
  const TEditSet before = app.editor.stages();
  app.ScreenMouseDown(Left, 200, 200);
  app.ScreenMouseMove({.left = true}, 232, 200);
  EXPECT_EQ(app.editor.stages(), before);
}

TEST_F(StageEditor, ADragPaintsOrErasesEveryCellItPassesAndBothButtonsToggle) {
  app.ScreenMouseDown(Left, 40, 40);
  for (int x = 40; x <= 200; x += 8) app.ScreenMouseMove({.left = true}, x, 40);
  for (int column = 1; column <= 6; ++column) EXPECT_EQ(Cell(column, 1), tcBrick) << column;
  EXPECT_EQ(Cell(7, 1), tcEmpty);

  app.ScreenMouseMove({.right = true}, 72, 40);
  EXPECT_EQ(Cell(2, 1), tcEmpty);
  app.ScreenMouseMove({}, 104, 40);  // no button: nothing
  EXPECT_EQ(Cell(3, 1), tcBrick);

  // Both held over a cell of the selected tile erase it; the next move paints it again.
  app.ScreenMouseMove({.left = true, .right = true}, 104, 40);
  EXPECT_EQ(Cell(3, 1), tcEmpty);
  app.ScreenMouseMove({.left = true, .right = true}, 105, 41);
  EXPECT_EQ(Cell(3, 1), tcBrick);

  // A drag never reaches the frame.
  app.ScreenMouseMove({.left = true}, 10, 40);
  app.ScreenMouseMove({.left = true}, 100, 430);
  EXPECT_EQ(Cell(0, 1), tcSolid);
  EXPECT_EQ(Cell(3, 13), tcSolid);
}

TEST_F(StageEditor, LeftClicksAboveTheDigitChooseThePaletteTile) {
  const int repaints = headless.window.palette_invalidations;
  app.PaletteMouseDown(Left, 5, 0);
  EXPECT_EQ(app.editor.selected_tile(), tcBrick);
  app.PaletteMouseDown(Left, 31, 6 * 32 + 31);  // x is not looked at
  EXPECT_EQ(app.editor.selected_tile(), tcGold);
  EXPECT_EQ(app.palette_picture.pixel(16, 304 + 16),
            app.sprite_sheet().pixel(TileCell(tcGold).x + 16, TileCell(tcGold).y + 16));
  app.PaletteMouseDown(Left, 0, 287);
  EXPECT_EQ(app.editor.selected_tile(), tcRunnerStart);
  EXPECT_EQ(headless.window.palette_invalidations, repaints + 3);

  for (const auto& [button, y] : {std::pair{Left, 288}, {Left, 335}, {Left, -1}, {Right, 40}, {Middle, 40}})
    app.PaletteMouseDown(button, 0, y);
  EXPECT_EQ(app.editor.selected_tile(), tcRunnerStart);
  EXPECT_EQ(headless.window.palette_invalidations, repaints + 3);

  app.ScreenMouseDown(Left, 64, 64);
  EXPECT_EQ(Cell(2, 2), tcRunnerStart);
}

TEST_F(StageEditor, SaveWritesTheWholeSetOrReportsAndKeepsTheOldFile) {
  for (int x = 40; x < 480; x += 32) app.ScreenMouseDown(Left, x, 300);
  app.SelectEditStage(5);
  app.ScreenMouseDown(Left, 100, 100);
  const std::string path = (folder / "my stages.bds").string();
  headless.dialogs.save_answers.push_back(path);
  app.RunCommand(TMenuItemId::SaveStages);
  ASSERT_EQ(headless.dialogs.save_requests.size(), 1u);
  EXPECT_EQ(headless.dialogs.save_requests[0].title, "Save");
  EXPECT_EQ(headless.dialogs.save_requests[0].file_name, "*.bds");
  const auto bytes = StageFileBytes(app.editor.stages());
  EXPECT_EQ(Bytes(path), std::vector<uint8_t>(bytes.begin(), bytes.end()));
  EXPECT_EQ(headless.window.caption, "Burrow Dash - my stages.bds");
  EXPECT_EQ(app.editor.file_name(), path);
  EXPECT_TRUE(headless.dialogs.message_boxes.empty());

  // A folder that does not exist: reported, nothing else changes.
  app.ScreenMouseDown(Left, 200, 100);
  const std::string nowhere = (folder / "gone" / "x.bds").string();
  headless.dialogs.save_answers.push_back(nowhere);
  app.RunCommand(TMenuItemId::SaveStages);
  EXPECT_EQ(headless.dialogs.save_requests[1].file_name, path);  // the dialog offers the set's file
  ASSERT_EQ(headless.dialogs.message_boxes.size(), 1u);
  const platform::RecordedMessageBox& box = headless.dialogs.message_boxes[0];
  EXPECT_EQ(box.text.rfind("Could not save " + nowhere + ": ", 0), 0u) << box.text;
  EXPECT_GT(box.text.size(), ("Could not save " + nowhere + ": ").size());
  EXPECT_EQ(box.caption, "Burrow Dash");
  EXPECT_FALSE(box.ok_cancel);
  EXPECT_EQ(headless.window.caption, "Burrow Dash - my stages.bds");
  EXPECT_EQ(app.editor.file_name(), path);

  // A write cut short (the file size limit stands in for a full disk)
  // leaves the previous file whole and no scratch file behind.
  const std::vector<uint8_t> old_bytes = Bytes(path);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  headless.dialogs.save_answers.push_back(path);
  app.RunCommand(TMenuItemId::SaveStages);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(Bytes(path), old_bytes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  ASSERT_EQ(headless.dialogs.message_boxes.size(), 2u);
  EXPECT_EQ(headless.dialogs.message_boxes[1].text.rfind("Could not save " + path + ": ", 0), 0u);
}

TEST_F(StageEditor, UnsavedStagesAreNotThrownAwayWithoutAsking) {
  const auto asked = [&] {
    int n = 0;
    for (const auto& box : headless.dialogs.message_boxes) n += box.text == "Discard the unsaved stages?";
    return n;
  };
  // Nothing drawn yet, and a cell painted and erased again, is nothing to lose.
  app.ScreenMouseDown(Left, 100, 100);
  app.ScreenMouseDown(Right, 100, 100);
  app.RunCommand(TMenuItemId::OpenStages);
  EXPECT_EQ(asked(), 0);
  EXPECT_EQ(headless.dialogs.open_requests.size(), 1u);

  // Cancel stops Open before its dialog and Quit before the window closes.
  app.ScreenMouseDown(Left, 100, 100);
  const TEditSet painted = app.editor.stages();
  headless.dialogs.message_box_answers = {false, false};
  app.RunCommand(TMenuItemId::OpenStages);
  app.RunCommand(TMenuItemId::Quit);
  EXPECT_EQ(asked(), 2);
  EXPECT_EQ(headless.dialogs.open_requests.size(), 1u);
  EXPECT_FALSE(headless.window.close_requested);
  EXPECT_EQ(app.editor.stages(), painted);
  const auto& box = headless.dialogs.message_boxes.back();
  EXPECT_EQ(box.caption, "Burrow Dash");
  EXPECT_TRUE(box.ok_cancel);

  // Title keeps the stages and asks nothing; Play Edit from the title asks.
  app.RunCommand(TMenuItemId::GoToTitle);
  EXPECT_EQ(asked(), 2);
  headless.dialogs.message_box_answers = {false};
  app.RunCommand(TMenuItemId::PlayEditedSet);
  EXPECT_EQ(asked(), 3);
  EXPECT_EQ(headless.dialogs.open_requests.size(), 1u);

  // Saved, the set is the reference: nothing to ask until it differs again.
  app.RunCommand(TMenuItemId::EditMode);
  const std::string path = (folder / "set.bds").string();
  headless.dialogs.save_answers.push_back(path);
  app.RunCommand(TMenuItemId::SaveStages);
  app.RunCommand(TMenuItemId::OpenStages);  // cancelled at its dialog
  EXPECT_EQ(asked(), 3);
  EXPECT_EQ(headless.dialogs.open_requests.size(), 2u);

  // All Clear after the save does not make the cleared set the reference.
  app.RunCommand(TMenuItemId::ClearAllStages);
  headless.dialogs.message_box_answers = {true};
  app.RunCommand(TMenuItemId::Quit);
  EXPECT_EQ(asked(), 4);
  EXPECT_TRUE(headless.window.close_requested);
}

// Six stages that clear in a few seconds: the gold beside the runner, a
// one-cell hidden ladder in the top row standing on brick.
TStageGrid QuickStage() {
  return FramedStage({
      "R$h",
      "BBBBBBBBBBBBBB",
  });
}

TEST_F(StageEditor, PlayEditPlaysTheSixStagesOfAFileThenTheGameOverScreen) {
  TEditSet quick;
  quick.fill(QuickStage());
  const std::string path = (folder / "quick.bds").string();
  {
    const auto bytes = StageFileBytes(quick);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  app.RunCommand(TMenuItemId::GoToTitle);
  headless.dialogs.open_answers.push_back(path);
  app.RunCommand(TMenuItemId::PlayEditedSet);
  ASSERT_EQ(app.GameMode, gmGame);
  EXPECT_EQ(headless.dialogs.open_requests[0].title, "Open");
  EXPECT_EQ(headless.dialogs.open_requests[0].file_name, "*.bds");
  EXPECT_EQ(headless.window.caption, "Burrow Dash - quick.bds");
  EXPECT_EQ(app.editor.stages(), quick);

  for (int stage = 0; stage < kEditStageCount; ++stage) {
    ASSERT_EQ(app.game.progress().StageIndex, stage);
    Tick(kBannerTicks);
    ASSERT_TRUE(HoldUntil(vkRight, AtX(96)));
    // Up the ladder that stands on brick and out over the top, alive.
    bool died = false;
    ASSERT_TRUE(HoldUntil(vkUp, [&] {
      died = died || runner().DeathTicks != 0;
      return app.game.play().phase == spTally || died;
    }));
    ASSERT_FALSE(died) << "stage " << stage << ": died at y " << runner().y;
    app.ConfirmAction();
  }
  EXPECT_EQ(app.GameMode, gmGameOver);
  EXPECT_EQ(app.game.progress().Score, 6);  // one piece of gold a stage
}

}  // namespace
}  // namespace bd::testing
