// Writes the sprite sheet and the screens outside play as PNG files, so the
// art and the built-in stages (stages.png) can be reviewed without starting
// the game.
//   burrow-dash-pictures OUTPUT_FOLDER [SCALE]
#include <QDir>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/app.h"
#include "platform/headless/headless_services.h"
#include "platform/qt/surface_images.h"
#include "render/draw.h"
#include "render/raster.h"
#include "stage/builtin_stages.h"

namespace {

// One of each tile code, laid out the way a stage maker would see them.
bd::TStageGrid SampleStage() {
  bd::TStageGrid grid;
  bd::ClearToFrame(grid);
  for (int c = 1; c <= 14; ++c) grid.at(c, 12) = bd::tcBrick;
  for (int r = 4; r <= 11; ++r) grid.at(3, r) = bd::tcLadder;
  for (int r = 2; r <= 7; ++r) grid.at(12, r) = bd::tcHiddenLadder;
  for (int c = 4; c <= 10; ++c) grid.at(c, 4) = bd::tcBar;
  for (int c = 5; c <= 9; ++c) grid.at(c, 8) = c == 7 ? bd::tcTrapBrick : bd::tcSolid;
  grid.at(6, 7) = bd::tcGold;
  grid.at(10, 11) = bd::tcGold;
  grid.at(8, 11) = bd::tcGuardStart;
  grid.at(5, 11) = bd::tcRunnerStart;
  return grid;
}

// The sixteen built-in stages as the editor shows them, hidden ladders and
// trap bricks included, four to a row, each under its number.
bd::TSurface StageContactSheet(bd::TApp& app) {
  constexpr int kGap = 16, kLabel = 32, kAcross = 4;
  constexpr int kDown = bd::kBuiltInStageCount / kAcross;
  bd::TSurface sheet(kAcross * (bd::kImageWidth + kGap) + kGap,
                     kDown * (bd::kImageHeight + kLabel + kGap) + kGap);
  for (int stage = 0; stage < bd::kBuiltInStageCount; ++stage) {
    app.editor.SetStage(0, bd::UnpackStage(bd::BuiltInStages[stage]));
    app.editor.DrawEditStage();
    const int x = kGap + stage % kAcross * (bd::kImageWidth + kGap);
    const int y = kGap + stage / kAcross * (bd::kImageHeight + kLabel + kGap);
    char label[16];
    std::snprintf(label, sizeof label, "STAGE %2d", stage + 1);
    bd::DrawText16(sheet, app.sprite_sheet(), x / 16, y / 16, label);
    bd::BlockTransfer(sheet, x, y + kLabel, app.screen, 0, 0, bd::kImageWidth, bd::kImageHeight,
                      bd::TRasterOp::Copy);
  }
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [SCALE]\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const int scale = argc == 3 ? std::atoi(argv[2]) : 2;
  if (scale < 1 || scale > 8 || !QDir().mkpath(folder)) {
    std::fprintf(stderr, "bad scale or folder\n");
    return 2;
  }
  try {
    bd::platform::HeadlessServices headless;
    bd::TApp app(headless.services());
    bd::TSurface sprite_sheet(bd::kSheetWidth, bd::kSheetHeight);
    bd::platform::LoadSpriteSheet(sprite_sheet);
    app.SetSpriteSheet(sprite_sheet);
    app.Startup();
    app.editor.DrawPalette();
    bool ok = true;
    auto save = [&](const bd::TSurface& surface, const char* name) {
      ok = bd::platform::SaveSurfacePng(surface, folder + "/" + name, scale) && ok;
    };
    save(app.sprite_sheet(), "sheet.png");
    save(app.screen, "title.png");
    app.TitleCursorDown();
    save(app.screen, "title-edit-mode.png");
    bd::TGameState scores = app.game.state();
    scores.progress.Score = 123;
    scores.progress.HiScore = 4567;
    app.game.Restore(scores);
    app.ShowGameOver();
    save(app.screen, "game-over.png");
    app.RunCommand(bd::TMenuItemId::GoToTitle);
    app.RunCommand(bd::TMenuItemId::EditMode);
    app.editor.SetStage(0, SampleStage());
    app.editor.DrawEditStage();
    save(app.screen, "editor.png");
    save(app.palette_picture, "palette.png");
    ok = bd::platform::SaveSurfacePng(StageContactSheet(app), folder + "/stages.png", 1) && ok;
    if (!ok) {
      std::fprintf(stderr, "cannot write into %s\n", argv[1]);
      return 1;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
