#include "tools/planner/planner.h"

#include <algorithm>
#include <array>
#include <memory>
#include <ostream>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "game/guards.h"
#include "tools/planner/plan_game.h"
#include "tools/planner/route_distance.h"

namespace bd::planner {
namespace {

using replay::TScriptKey;

// A move made in the search: where it came from, for writing the plan out.
struct TStep {
  int32_t parent = -1;
  int32_t tick = 0;  // the tick it was pressed before
  uint8_t ticks = 0;
  TMove move = mWait;
};

struct TNode {
  TSnapshot snapshot;
  int32_t step = -1;  // the last move, or -1 at the start
  int32_t tick = 0;
  int64_t score = 0;
};

uint64_t Mix(uint64_t hash, uint64_t value) {
  hash ^= value + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2);
  return hash;
}

// Two states with the same key are taken as one: the runner's place, the
// gold still lying, the holes and the guards to within a quarter cell.
uint64_t StateKey(const TPlayState& play) {
  uint64_t hash = Mix(play.runner.x, static_cast<uint64_t>(play.runner.y) << 20);
  hash = Mix(hash, play.phase);
  for (int i = 0; i < play.gold.count; ++i) hash = Mix(hash, play.gold.present[i] * (i + 1));
  for (int slot = 0; slot < kHoleSlots; ++slot)
    if (play.holes.timer[slot] != 0)
      hash = Mix(hash,
                 play.holes.column[slot] * 16 + play.holes.row[slot] + (play.holes.timer[slot] / 16) * 512);
  for (int slot = 0; slot < kListCapacity; ++slot) {
    const int state = play.guards.State[slot];
    if (state == 0) continue;
    const int kind = state == kGuardFree ? 1 : state < kGuardCrushed ? 2 : 3;
    hash = Mix(hash, static_cast<uint64_t>(play.guards.X[slot] / 8) |
                         static_cast<uint64_t>(play.guards.Y[slot] / 8) << 8 |
                         static_cast<uint64_t>(kind) << 16);
  }
  return hash;
}

constexpr int64_t kGoldWorth = 100'000;
constexpr int64_t kEscapeWorth = 10'000'000;
constexpr int64_t kCellWorth = 64;
constexpr int64_t kGuardAwayWorth = 1'000;
// The beam keeps at most this share of its states in one cell with the same
// gold left, so that it does not spend itself on one crowded spot.
constexpr int kShareOfOneCell = 16;

// Higher is better; nothing when the runner can no longer finish from here.
std::optional<int64_t> Score(const TPlayState& play, int tick, int guard_penalty) {
  const std::optional<int> distance = RouteDistance(play);
  if (!distance) return std::nullopt;
  int64_t score = (play.gold.count - play.GoldLeft) * kGoldWorth - *distance * kCellWorth - tick / 8;
  if (play.phase == spEscape) score += kEscapeWorth;
  for (int slot = 0; slot < kListCapacity; ++slot) {
    const int state = play.guards.State[slot];
    // A guard in a hole or crushed is out of the way for a while.
    if (state > 1) score += kGuardAwayWorth;
    if (state != 1) continue;
    const int dx = play.guards.X[slot] - play.runner.x, dy = play.guards.Y[slot] - play.runner.y;
    if (dx > -80 && dx < 80 && dy > -48 && dy < 48) score -= guard_penalty;
  }
  return score;
}

void AppendMoves(const std::vector<TStep>& steps, int32_t last, std::vector<TKeyEvent>& events) {
  std::vector<const TStep*> path;
  for (int32_t at = last; at != -1; at = steps[at].parent) path.push_back(&steps[at]);
  std::reverse(path.begin(), path.end());
  for (const TStep* step : path) {
    if (step->move == mWait) continue;
    const TScriptKey key = KeyOfMove(step->move);
    const int held = step->move == mDigLeft || step->move == mDigRight ? 1 : step->ticks;
    events.push_back({step->tick, true, key});
    events.push_back({step->tick + held, false, key});
  }
}

// Plays the opening and lets go of every key it leaves held.
void PlayOpening(TPlanGame& game, const std::vector<TKeyEvent>& opening, std::vector<TKeyEvent>& events) {
  int last = kBannerTicks - 1;
  for (const TKeyEvent& event : opening) last = std::max(last, event.tick);
  for (size_t next = 0; game.tick() < last;) game.TickWith(opening, next);
  events = opening;
  std::array<bool, 9> held{};
  for (const TKeyEvent& event : opening) held[static_cast<int>(event.key)] = event.down;
  for (int key = 0; key < 9; ++key) {
    if (!held[key]) continue;
    const TKeyEvent release{last + 1, false, static_cast<TScriptKey>(key)};
    events.push_back(release);
    game.Deliver(release);
  }
}

}  // namespace

std::optional<TPlan> FindPlan(const TStageGrid& grid, const TSearchOptions& options, std::ostream& log) {
  auto game = std::make_unique<TPlanGame>(grid, options.seed);
  TPlan plan;
  PlayOpening(*game, options.opening, plan.events);

  std::vector<TStep> steps;
  std::vector<TNode> beam(1);
  game->Save(beam[0].snapshot);
  beam[0].tick = game->tick();
  std::unordered_set<uint64_t> seen{StateKey(beam[0].snapshot.state.play)};
  std::vector<TNode> next;

  int best_gold_left = beam[0].snapshot.state.play.GoldLeft + 1;
  int last_progress = 0;
  for (int depth = 1; !beam.empty(); ++depth) {
    const TPlayState& leader = beam.front().snapshot.state.play;
    const int gold_left = leader.phase == spCollect ? leader.GoldLeft : -1;
    if (gold_left < best_gold_left) {
      best_gold_left = gold_left;
      last_progress = depth;
    } else if (depth - last_progress > options.patience) {
      log << "no plan: nothing gained in the last " << options.patience << " moves; gold still lying:";
      for (int i = 0; i < leader.gold.count; ++i)
        if (leader.field.cells[TPlayField::IndexOfPixel(leader.gold.X[i], leader.gold.Y[i])] == tcGold)
          log << " (" << leader.gold.X[i] / 32 << "," << leader.gold.Y[i] / 32 << ")";
      log << "\n";
      return std::nullopt;
    }
    next.clear();
    for (const TNode& node : beam) {
      for (int m = 0; m < kMoveCount; ++m) {
        const TMove move = static_cast<TMove>(m);
        game->Restore(node.snapshot, node.tick);
        int ticks = 0;
        const TMoveResult result = game->Play(move, ticks);
        if (result == TMoveResult::NoEffect || result == TMoveResult::Died) continue;
        if (node.tick + ticks > options.max_ticks) continue;
        steps.push_back({node.step, node.tick + 1, static_cast<uint8_t>(ticks), move});
        if (result == TMoveResult::Cleared) {
          AppendMoves(steps, static_cast<int32_t>(steps.size()) - 1, plan.events);
          plan.clear_tick = game->tick();
          log << "cleared at tick " << plan.clear_tick << " after " << depth << " moves\n";
          return plan;
        }
        const TPlayState& play = game->play();
        if (!seen.insert(StateKey(play)).second) {
          steps.pop_back();
          continue;
        }
        const std::optional<int64_t> score = Score(play, game->tick(), options.guard_penalty);
        if (!score) {
          steps.pop_back();
          continue;
        }
        TNode& child = next.emplace_back();
        game->Save(child.snapshot);
        child.step = static_cast<int32_t>(steps.size()) - 1;
        child.tick = game->tick();
        child.score = *score;
      }
    }
    std::sort(next.begin(), next.end(), [](const TNode& a, const TNode& b) { return a.score > b.score; });
    beam.clear();
    std::unordered_map<uint64_t, int> per_cell;
    const int cap = std::max(2, options.beam / kShareOfOneCell);
    for (TNode& node : next) {
      if (static_cast<int>(beam.size()) == options.beam) break;
      const TPlayState& play = node.snapshot.state.play;
      const uint64_t cell = static_cast<uint64_t>((play.runner.x + 16) / 32) |
                            static_cast<uint64_t>((play.runner.y + 48) / 32) << 8 |
                            static_cast<uint64_t>(play.GoldLeft) << 16;
      if (++per_cell[cell] > cap) continue;
      beam.push_back(std::move(node));
    }
    if ((depth % 25 == 0 || options.verbose) && !beam.empty()) {
      const TPlayState& best = beam.front().snapshot.state.play;
      log << "move " << depth << ": best at tick " << beam.front().tick << ", gold left " << best.GoldLeft
          << ", runner (" << best.runner.x / 32 << "," << best.runner.y / 32 << "), " << beam.size()
          << " states, " << seen.size() << " seen\n";
    }
  }
  log << "no plan: every line of play died, stalled or ran past " << options.max_ticks << " ticks\n";
  return std::nullopt;
}

std::string ScriptText(const std::vector<TKeyEvent>& events, const std::string& heading) {
  std::ostringstream text;
  text << "# " << heading << "\n";
  for (const TKeyEvent& event : events)
    text << event.tick << (event.down ? " down " : " up ") << replay::ScriptKeyName(event.key) << "\n";
  return text.str();
}

TVerdict PlayScript(const TStageGrid& grid, uint32_t seed, const std::vector<TKeyEvent>& events,
                    int max_ticks) {
  auto game = std::make_unique<TPlanGame>(grid, seed);
  TVerdict verdict;
  const TPlayState& play = game->play();
  size_t next = 0;
  while (game->tick() < max_ticks) {
    game->TickWith(events, next);
    verdict.tick = game->tick();
    if (play.phase == spTally) {
      verdict.cleared = true;
      break;
    }
    if (play.runner.DeathTicks != 0) {
      verdict.died = true;
      break;
    }
  }
  verdict.gold_left = play.GoldLeft;
  return verdict;
}

}  // namespace bd::planner
