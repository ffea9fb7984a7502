// TGame, one game in play: the progress from stage to stage, the live play
// state and the guards' random generator, with the rules that change them:
// stage start, the play tick and the stage's flow. It knows nothing of
// menus, modes, windows or sound: a tick takes its input as data and
// reports the sounds it set off as data. A painter, when one is attached,
// is told what to draw as the rules change the stage; without one the same
// rules run headless.
#pragma once

#include <cstdint>

#include "audio/sound_cue_list.h"
#include "game/play_state.h"
#include "game/random.h"
#include "game/tick_input.h"
#include "render/play_painter.h"
#include "stage/edit_set.h"
#include "stage/stage_grid.h"

namespace bd {

inline constexpr int32_t kStartingLives = 5;

// What a game carries from one stage to the next.
struct TStageProgress {
  int32_t StageIndex = 0;
  int32_t Lives = kStartingLives;
  int32_t Score = 0;         // units of 100 points
  int32_t HiScore = 0;       // units of 100 points; lives for one run of the program
  bool PlayEditSet = false;  // the stages come from the editor's six (Play Edit)

  bool operator==(const TStageProgress&) const = default;
};

// Everything play reads and writes: saved and put back whole by the
// planner, the benchmarks and tests that need a particular moment.
struct TGameState {
  TStageProgress progress;
  TPlayState play;
  TRandom random;

  bool operator==(const TGameState&) const = default;
};

class TGame {
 public:
  TGame() = default;
  TGame(const TGame&) = delete;
  TGame& operator=(const TGame&) = delete;

  // The painter that draws play from now on; nullptr for none.
  void AttachPainter(TPlayPainter* painter) { painter_ = painter; }

  // Turns stage progress.StageIndex into the live play state and paints the
  // opening picture: the banner with the stage number, lives and scores, or
  // without the banner the stage itself. The stage comes from edited_set
  // when given (test play, Play Edit), else from the built-in table. The
  // stage music is its cue.
  TSoundCueList StartStage(const TEditSet* edited_set, bool with_banner);

  // One 24 ms step of the stage.
  TSoundCueList PlayTick(const TTickInput& input);

  // The runner gives up: the next tick plays his death as if he were caught.
  void GiveUp() { state_.play.runner.DeathTicks = 1; }
  // A finished death costs a life; the lives left.
  int32_t LoseLife() { return --state_.progress.Lives; }
  // On from a tallied stage; false when the set has no stage after it.
  bool NextStage();
  // A new game from the title: five lives, no score, the built-in set.
  void ResetProgress();
  // The stage the next stage start plays.
  void SelectStage(int32_t index) { state_.progress.StageIndex = index; }
  // Play Edit: the editor's six stages from the first.
  void SelectEditedSet() {
    state_.progress.PlayEditSet = true;
    state_.progress.StageIndex = 0;
  }
  // Leaving play for the title: a death is forgotten. The game-over screen
  // forgets the stage's phase as well.
  void ForgetDeath() { state_.play.runner.DeathTicks = 0; }
  void ForgetDeathAndPhase() {
    ForgetDeath();
    state_.play.phase = spCollect;
  }
  void ResetHiScore() { state_.progress.HiScore = 0; }
  void SeedRandom(uint32_t seed) { state_.random.seed = seed; }
  // A saved moment put back whole.
  void Restore(const TGameState& state) { state_ = state; }

  const TGameState& state() const { return state_; }
  const TStageProgress& progress() const { return state_.progress; }
  const TPlayState& play() const { return state_.play; }
  const TRandom& random() const { return state_.random; }

 private:
  // The steps of the play tick, in the order it runs them.
  void EraseActors();
  void DrawGold();
  void DrawLadders();
  void MoveRunnerStep(const TTickInput& input,
                      TSoundCueList& cues);  // dying, or the holes, digging or moving
  void DyingStep(TSoundCueList& cues);
  void GoldPickup(const TTickInput& input, TSoundCueList& cues);
  void EndingTexts();
  void RevealHiddenLadders();
  void MoveGuards(TSoundCueList& cues);
  void DrawRunner();
  void EnterTally();
  void TallyTick();

  TGameState state_;
  TPlayPainter* painter_ = nullptr;
  TStageGrid stage_scratch_;  // a built-in stage unpacked for stage start
};

}  // namespace bd
