// The real game rules on their own, playing one stage the way
// burrow-dash-replay plays a built-in stage, with the play state saved and
// restored whole so a search can try many futures from one moment.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/sound_cues.h"
#include "game/game.h"
#include "platform/headless/headless_services.h"
#include "render/sprite_sheet.h"
#include "tools/replay/replay.h"

namespace bd::planner {

// What the runner is told to do for one stretch of ticks.
enum TMove : uint8_t { mWait, mLeft, mRight, mUp, mDown, mDigLeft, mDigRight };
inline constexpr int kMoveCount = 7;

// The key a move holds (nothing for a wait).
replay::TScriptKey KeyOfMove(TMove move);

// Everything a play tick reads and writes besides the pictures.
struct TSnapshot {
  TPlayState play;
  TRandom random;
};

enum class TMoveResult : uint8_t { Done, NoEffect, Died, Cleared };

class TPlanGame {
 public:
  // The stage started, its banner up; no tick played yet.
  TPlanGame(const TStageGrid& grid, uint32_t seed);
  TPlanGame(const TPlanGame&) = delete;
  TPlanGame& operator=(const TPlanGame&) = delete;

  // The tick number of the last tick played, as the key scripts count them.
  int tick() const { return tick_; }
  TGame& game() { return game_; }
  TSurface& screen() { return screen_; }
  TSurface& sprite_sheet() { return sprite_sheet_; }

  // Starts the stage again, banner first, as a new game does.
  void StartStage();

  void Save(TSnapshot& snapshot) const;
  void Restore(const TSnapshot& snapshot, int tick);

  // A script's key event as a player's key reaches play: the six play keys
  // set or clear their latches, F5 gives up; the other keys do nothing
  // while a stage is being played.
  void Deliver(const replay::TKeyEvent& event);
  // One tick with the keys as they are.
  void Tick();
  // A script's key events for the next tick, then the tick. Events come
  // ordered by tick; next is the first not yet delivered.
  void TickWith(const std::vector<replay::TKeyEvent>& events, size_t& next);
  // Plays one move from an aligned, idle runner: a direction held until the
  // runner is aligned on a cell again, a dig and its pause, or a short wait.
  // ticks gets the number of ticks played.
  TMoveResult Play(TMove move, int& ticks);

 private:
  platform::HeadlessAudio audio_;
  platform::HeadlessDialogs dialogs_;
  TSoundCues sound_{audio_, dialogs_};
  TSurface screen_{kImageWidth, kImageHeight};
  TSurface background_{kImageWidth, kImageHeight};
  TSurface sprite_sheet_{kSheetWidth, kSheetHeight};
  TGame game_{TPlaySurfaces{screen_, background_, sprite_sheet_}, sound_};
  TJoystickState no_joystick_;
  TEditSet stages_{};  // the stage in the first slot, as Play Edit reads it
  int tick_ = 0;
};

}  // namespace bd::planner
