#include "tools/planner/plan_game.h"

namespace bd::planner {
namespace {

// A walk or climb crosses a cell in 4 ticks; a wait lasts as long.
constexpr int kCellTicks = 4;
constexpr int kLongestStep = 8;

bool Aligned(const TRunner& runner) { return (runner.x & 31) == 0 && (runner.y & 31) == 0; }

}  // namespace

replay::TScriptKey KeyOfMove(TMove move) {
  using replay::TScriptKey;
  switch (move) {
    case mLeft: return TScriptKey::Left;
    case mRight: return TScriptKey::Right;
    case mUp: return TScriptKey::Up;
    case mDown: return TScriptKey::Down;
    case mDigLeft: return TScriptKey::Z;
    case mDigRight: return TScriptKey::X;
    case mWait: break;
  }
  return TScriptKey::Escape;  // never pressed: a wait holds nothing
}

TPlanGame::TPlanGame(const TStageGrid& grid, uint32_t seed) {
  game_.random.seed = seed;
  stages_[0] = grid;
  // Played as a game of one stage, the way the built-in stages are.
  game_.progress.PlayEditSet = true;
  StartStage();
}

void TPlanGame::StartStage() {
  game_.progress.StageIndex = 0;
  game_.StartStage(&stages_, true);
}

void TPlanGame::Save(TSnapshot& snapshot) const {
  snapshot.play = game_.play;
  snapshot.random = game_.random;
}

void TPlanGame::Restore(const TSnapshot& snapshot, int tick) {
  game_.play = snapshot.play;
  game_.random = snapshot.random;
  tick_ = tick;
}

void TPlanGame::Deliver(const replay::TKeyEvent& event) {
  using replay::TScriptKey;
  TInputLatches& keys = game_.play.keys;
  const int32_t latch = event.down ? 1 : 0;
  switch (event.key) {
    case TScriptKey::Left: keys.KeyLeft = latch; break;
    case TScriptKey::Up: keys.KeyUp = latch; break;
    case TScriptKey::Right: keys.KeyRight = latch; break;
    case TScriptKey::Down: keys.KeyDown = latch; break;
    case TScriptKey::Z: keys.KeyDigLeft = latch; break;
    case TScriptKey::X: keys.KeyDigRight = latch; break;
    case TScriptKey::F5:
      if (event.down) game_.GiveUp();
      break;
    case TScriptKey::Space:
    case TScriptKey::Enter:
    case TScriptKey::Escape: break;
  }
}

void TPlanGame::Tick() {
  sound_.effects.SoundBusy = false;
  game_.PlayTick(no_joystick_);
  audio_.waves.clear();
  audio_.music_calls.clear();
  ++tick_;
}

void TPlanGame::TickWith(const std::vector<replay::TKeyEvent>& events, size_t& next) {
  for (; next < events.size() && events[next].tick <= tick_ + 1; ++next)
    if (events[next].tick == tick_ + 1) Deliver(events[next]);
  Tick();
}

TMoveResult TPlanGame::Play(TMove move, int& ticks) {
  TPlayState& play = game_.play;
  const auto outcome = [&]() {
    if (play.phase == spTally) return TMoveResult::Cleared;
    if (play.runner.DeathTicks != 0) return TMoveResult::Died;
    return TMoveResult::Done;
  };
  play.keys = {};
  ticks = 0;
  const replay::TKeyEvent press{tick_ + 1, true, KeyOfMove(move)};
  replay::TKeyEvent release = press;
  release.down = false;
  if (move == mDigLeft || move == mDigRight) {
    Deliver(press);
    Tick();
    ++ticks;
    Deliver(release);
    if (outcome() != TMoveResult::Done) return outcome();
    if (play.runner.DigTicks == 0) return TMoveResult::NoEffect;
    while (play.runner.DigTicks != 0 && outcome() == TMoveResult::Done) {
      Tick();
      ++ticks;
    }
    return outcome();
  }
  if (move == mWait) {
    for (; ticks < kCellTicks && outcome() == TMoveResult::Done; ++ticks) Tick();
    return outcome();
  }
  Deliver(press);
  const int x = play.runner.x, y = play.runner.y;
  do {
    Tick();
    ++ticks;
    if (outcome() != TMoveResult::Done) break;
    if (ticks == 1 && play.runner.x == x && play.runner.y == y) {
      Deliver(release);
      return TMoveResult::NoEffect;
    }
  } while (!Aligned(play.runner) && ticks < kLongestStep);
  Deliver(release);
  return outcome();
}

}  // namespace bd::planner
