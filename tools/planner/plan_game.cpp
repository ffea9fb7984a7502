#include "tools/planner/plan_game.h"

namespace bd::planner {
namespace {

// A walk or climb crosses a cell in 4 ticks; a wait lasts as long.
constexpr int kCellTicks = 4;
constexpr int kLongestStep = 8;

bool Aligned(const TRunner& runner) { return (runner.x & 31) == 0 && (runner.y & 31) == 0; }

platform::HeadlessServices& Seeded(platform::HeadlessServices& headless, uint32_t seed) {
  headless.clock.seed = seed;
  return headless;
}

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

TPlanGame::TPlanGame(const TStageGrid& grid, uint32_t seed) : form_(Seeded(headless_, seed).services()) {
  form_.FormCreate();
  // Played as a game, banner first, the way the built-in stages are: the
  // stage comes from the editor's first slot, as Play Edit reads it.
  form_.Start1Click();
  form_.EditSet.stages[0] = grid;
  form_.game.PlayEditSet = true;
  form_.game.StageIndex = 0;
  form_.StartStage();
}

void TPlanGame::Save(TSnapshot& snapshot) const {
  snapshot.play = form_.play;
  snapshot.random = form_.random;
}

void TPlanGame::Restore(const TSnapshot& snapshot, int tick) {
  form_.play = snapshot.play;
  form_.random = snapshot.random;
  tick_ = tick;
}

void TPlanGame::Tick() {
  form_.Timer1Timer();
  headless_.audio.waves.clear();
  headless_.audio.music_calls.clear();
  ++tick_;
}

void TPlanGame::TickWith(const std::vector<replay::TKeyEvent>& events, size_t& next) {
  for (; next < events.size() && events[next].tick <= tick_ + 1; ++next)
    if (events[next].tick == tick_ + 1) replay::Deliver(form_, events[next]);
  Tick();
}

TMoveResult TPlanGame::Play(TMove move, int& ticks) {
  TPlayState& play = form_.play;
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
    replay::Deliver(form_, press);
    Tick();
    ++ticks;
    replay::Deliver(form_, release);
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
  replay::Deliver(form_, press);
  const int x = play.runner.x, y = play.runner.y;
  do {
    Tick();
    ++ticks;
    if (outcome() != TMoveResult::Done) break;
    if (ticks == 1 && play.runner.x == x && play.runner.y == y) {
      replay::Deliver(form_, release);
      return TMoveResult::NoEffect;
    }
  } while (!Aligned(play.runner) && ticks < kLongestStep);
  replay::Deliver(form_, release);
  return outcome();
}

}  // namespace bd::planner
