// TGame, one game in play: the progress from stage to stage, the live play
// state and the guards' random generator, with the rules that change them:
// stage start, the play tick and the stage's flow. It knows nothing of
// menus, modes or windows; it draws on surfaces it is handed and sounds
// through the sound cues. The program decides when a tick runs and shows
// the screen after it.
#pragma once

#include <cstdint>

#include "audio/sound_cues.h"
#include "game/joystick.h"
#include "game/play_state.h"
#include "game/random.h"
#include "render/surface.h"
#include "stage/edit_set.h"
#include "stage/stage_grid.h"

namespace bd {

// What a game carries from one stage to the next.
struct TStageProgress {
  int32_t StageIndex = 0;
  int32_t Lives = 5;
  int32_t Score = 0;         // units of 100 points
  int32_t HiScore = 0;       // units of 100 points; lives for one run of the program
  bool PlayEditSet = false;  // the stages come from the editor's six (Play Edit)
};

// The pictures play draws on and from; the program owns them.
struct TPlaySurfaces {
  TSurface& screen;      // what the window shows
  TSurface& background;  // the stage without actors, gold and ladders
  const TSurface& sprite_sheet;
};

class TGame {
 public:
  TGame(TPlaySurfaces surfaces, TSoundCues& sound) : surfaces_(surfaces), sound_(sound) {}
  TGame(const TGame&) = delete;
  TGame& operator=(const TGame&) = delete;

  // Turns stage progress.StageIndex into the live play state, starts the
  // stage music and draws the opening picture: the banner with the stage
  // number, lives and scores, or without the banner the stage itself. The
  // stage comes from edited_set when given (test play, Play Edit), else
  // from the built-in table.
  void StartStage(const TEditSet* edited_set, bool with_banner);

  // One 24 ms step of the stage, drawn incrementally onto the screen.
  void PlayTick(const TJoystickState& joy);

  // The runner gives up: the next tick plays his death as if he were caught.
  void GiveUp() { play.runner.DeathTicks = 1; }
  // A finished death costs a life; the lives left.
  int32_t LoseLife() { return --progress.Lives; }
  // On from a tallied stage; false when the set has no stage after it.
  bool NextStage();
  // A new game from the title: five lives, no score, the built-in set.
  void ResetProgress();
  // The two score lines of the game-over screen and the stage banner.
  void DrawScoreLines();

  TStageProgress progress;
  TPlayState play;
  TRandom random;

 private:
  // The steps of the play tick, in the order it runs them.
  void EraseActors();
  void DrawGold();
  void DrawLadders();
  void MoveRunnerStep(const TJoystickState& joy);  // dying, or the holes and then digging or moving
  void DyingStep();
  void GoldPickup();
  void EndingTexts();
  void RevealHiddenLadders();
  void MoveGuards();
  void DrawRunner();
  void EnterTally();
  void TallyTick();

  TPlaySurfaces surfaces_;
  TSoundCues& sound_;
  TStageGrid stage_scratch_;  // a built-in stage unpacked for stage start
};

}  // namespace bd
