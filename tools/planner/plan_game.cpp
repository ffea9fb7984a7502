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
  game_.SeedRandom(seed);
  stages_[0] = grid;
  // Played as a game of one stage, the way the built-in stages are.
  game_.SelectEditedSet();
  StartStage();
}

void TPlanGame::PaintWith(const TSurface& sprite_sheet) {
  pictures_ = std::make_unique<TPictures>(sprite_sheet);
  game_.AttachPainter(&pictures_->painter);
}

void TPlanGame::StartStage() {
  game_.SelectStage(0);
  keys_ = TInputLatches{};
  game_.StartStage(&stages_, true);  // its music is not heard here
}

void TPlanGame::Save(TSnapshot& snapshot) const {
  snapshot.state = game_.state();
  snapshot.keys = keys_;
}

void TPlanGame::Restore(const TSnapshot& snapshot, int tick) {
  game_.Restore(snapshot.state);
  keys_ = snapshot.keys;
  tick_ = tick;
}

void TPlanGame::Deliver(const replay::TKeyEvent& event) {
  // F5 is Give up's shortcut; the other keys reach play as the program's keys do.
  if (event.key == replay::TScriptKey::F5) {
    if (event.down) game_.GiveUp();
    return;
  }
  if (const auto key = PlayKeyOf(replay::VirtualKeyOf(event.key))) keys_.Set(*key, event.down);
}

void TPlanGame::Tick() {
  game_.PlayTick(MergeInput(keys_, no_joystick_, true));
  ++tick_;
}

void TPlanGame::TickWith(const std::vector<replay::TKeyEvent>& events, size_t& next) {
  for (; next < events.size() && events[next].tick <= tick_ + 1; ++next)
    if (events[next].tick == tick_ + 1) Deliver(events[next]);
  Tick();
}

TMoveResult TPlanGame::Play(TMove move, int& ticks) {
  const TPlayState& play = game_.play();
  const auto outcome = [&]() {
    if (play.phase == spTally) return TMoveResult::Cleared;
    if (play.runner.DeathTicks != 0) return TMoveResult::Died;
    return TMoveResult::Done;
  };
  keys_ = {};
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
