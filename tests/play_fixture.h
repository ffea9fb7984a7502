// A game on the headless services with a made-up sprite sheet, playing a
// small stage drawn as text inside the test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>

#include "app/app.h"
#include "game/actor_cells.h"
#include "platform/headless/headless_services.h"
#include "stage/tile_chars.h"
#include "tests/game_seam.h"
#include "tests/test_sheet.h"

namespace bd::testing {

// The interior (columns 1..14 of rows 0..12) from up to 13 rows of 14
// characters (see TileOfChar), the frame around it.
inline TStageGrid FramedStage(std::initializer_list<const char*> rows) {
  TStageGrid grid;
  ClearToFrame(grid);
  int row = 0;
  for (const char* text : rows) {
    const std::string line(text);
    for (int i = 0; i < 14 && i < static_cast<int>(line.size()); ++i)
      grid.at(i + 1, row) = TileOfChar(line[i]);
    ++row;
  }
  return grid;
}

class PlayFixture : public ::testing::Test {
 protected:
  PlayFixture() {
    app.SetSpriteSheet(MakeTestSheet());
    app.Startup();
  }

  // Test play of the grid: no banner, play begins with the first tick.
  void TestPlay(const TStageGrid& grid) {
    app.editor.SetStage(0, grid);
    app.EditMode();
    app.TestPlay();
  }

  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) app.PlayTick();
  }
  void Press(uint16_t key) { app.KeyDown(key); }
  void Release(uint16_t key) { app.KeyUp(key); }

  // Holds the key down until `done` holds, at most `limit` ticks.
  ::testing::AssertionResult HoldUntil(uint16_t key, const std::function<bool()>& done, int limit = 200) {
    Press(key);
    const ::testing::AssertionResult result = TickUntil(done, limit);
    Release(key);
    return result;
  }
  ::testing::AssertionResult TickUntil(const std::function<bool()>& done, int limit = 200) {
    for (int ticks = 0; !done() && ticks < limit; ++ticks) Tick();
    if (done()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "not there after " << limit << " ticks; runner at (" << runner().x << "," << runner().y << ")";
  }
  std::function<bool()> AtX(int x) {
    return [this, x] { return runner().x == x; };
  }
  std::function<bool()> AtY(int y) {
    return [this, y] { return runner().y == y; };
  }

  const TRunner& runner() const { return app.game.play().runner; }
  int8_t Field(int column, int row) const {
    return app.game.play().field.Read(column, TPlayField::FieldRowOfStageRow(row));
  }
  int Waves(const std::string& file) const {
    int n = 0;
    for (const std::string& path : headless.audio.waves) n += path == app.ProgramFolder + file;
    return n;
  }

  platform::HeadlessServices headless;
  TApp app{headless.services()};
};

}  // namespace bd::testing
