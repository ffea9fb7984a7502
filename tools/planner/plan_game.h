// The real game rules on their own, with no painter and no sound, playing
// one stage the way burrow-dash-replay plays a built-in stage, with the
// game's state saved and restored whole so a search can try many futures
// from one moment. Pictures are painted only when asked for.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/game.h"
#include "render/play_painter.h"
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
  TGameState state;
  TInputLatches keys;
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
  const TGame& game() const { return game_; }
  const TPlayState& play() const { return game_.play(); }
  // From now on play is painted on a screen drawn with this sprite sheet.
  void PaintWith(const TSurface& sprite_sheet);
  const TSurface& screen() const { return pictures_->screen; }

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
  struct TPictures {
    explicit TPictures(const TSurface& sheet) : painter(screen, background, sheet) {}
    TSurface screen{kImageWidth, kImageHeight};
    TSurface background{kImageWidth, kImageHeight};
    TPlayPainter painter;
  };

  TGame game_;
  TInputLatches keys_;
  TJoystickState no_joystick_;
  std::unique_ptr<TPictures> pictures_;
  TEditSet stages_{};  // the stage in the first slot, as Play Edit reads it
  int tick_ = 0;
};

}  // namespace bd::planner
