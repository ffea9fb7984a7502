#include "tools/planner/route_distance.h"

#include <array>

#include "game/actor_cells.h"

namespace bd::planner {
namespace {

constexpr int kColumns = kStageColumns;
constexpr int kRows = kStageRows;
constexpr int kCells = kColumns * kRows;
constexpr int kExit = kCells;  // above a ladder in row 0
constexpr int kDigCost = 3;
constexpr int kWellCost = 3;
constexpr int kUnreached = 1 << 30;

class TRoughMap {
 public:
  explicit TRoughMap(const TPlayState& play) : play_(play) {}

  // What a cell is on this map: a dug-through brick counts as open space,
  // hidden ladders count as ladders once the gold is gone.
  int8_t At(int column, int row, bool dug) const {
    if (row < 0) return tcEmpty;
    if (dug) return tcEmpty;
    const int8_t value = play_.field.Read(column, TPlayField::FieldRowOfStageRow(row));
    if (value == tcHiddenLadder) return play_.phase == spCollect ? tcEmpty : tcLadder;
    return value;
  }

 private:
  const TPlayState& play_;
};

}  // namespace

std::optional<int> RouteDistance(const TPlayState& play) {
  const TRoughMap map(play);
  // Dijkstra with edges of cost 1 and kDigCost, in buckets by distance.
  std::array<int, kCells + 1> distance;
  distance.fill(kUnreached);
  std::array<bool, kCells> dug{};
  std::array<std::array<int, kCells * 4 + 4>, kDigCost + 1> buckets;
  std::array<int, kDigCost + 1> bucket_size{};

  const int start_column = (play.runner.x + 16) / 32;
  const int start_row = (play.runner.y + 16) / 32;
  if (start_row < 0) return 0;
  const int start = start_row * kColumns + start_column;
  distance[start] = 0;
  buckets[0][bucket_size[0]++] = start;

  const auto reach = [&](int cell, int cost, bool through_brick) {
    if (cost >= distance[cell]) return;
    distance[cell] = cost;
    if (cell < kCells) dug[cell] = through_brick;
    if (cell == kExit) return;
    auto& bucket = buckets[cost % (kDigCost + 1)];
    int& size = bucket_size[cost % (kDigCost + 1)];
    if (size < static_cast<int>(bucket.size())) bucket[size++] = cell;
  };

  for (int cost = 0, empty_rounds = 0; empty_rounds <= kDigCost; ++cost) {
    auto& bucket = buckets[cost % (kDigCost + 1)];
    int& size = bucket_size[cost % (kDigCost + 1)];
    if (size == 0) {
      ++empty_rounds;
      continue;
    }
    empty_rounds = 0;
    // Cells added to this bucket while it is walked belong to a later round.
    std::array<int, kCells * 4 + 4> cells;
    const int count = size;
    std::copy(bucket.begin(), bucket.begin() + count, cells.begin());
    size = 0;
    for (int i = 0; i < count; ++i) {
      const int cell = cells[i];
      if (distance[cell] != cost) continue;
      const int column = cell % kColumns, row = cell / kColumns;
      const int8_t here = map.At(column, row, dug[cell]);
      const int8_t below = map.At(column, row + 1, false);
      const bool held = here == tcLadder || here == tcBar || Supporting(below);
      if (!held) {
        if (!Blocking(below)) reach(cell + kColumns, cost + 1, false);
        // Over a one-deep well a guard standing in it is a bridge.
        if (row + 2 < kRows && Supporting(map.At(column, row + 2, false))) {
          for (const int side : {-1, 1})
            if (!Blocking(map.At(column + side, row, false))) reach(cell + side, cost + kWellCost, false);
        }
        continue;
      }
      for (const int side : {-1, 1}) {
        const int8_t beside = map.At(column + side, row, false);
        if (!Blocking(beside)) reach(cell + side, cost + 1, false);
        // Gold beside him only waits to be taken first.
        if ((beside <= tcEmpty || beside == tcGold) && map.At(column + side, row + 1, false) == tcBrick)
          reach(cell + side + kColumns, cost + kDigCost, true);
      }
      if (here == tcLadder) {
        if (row == 0) {
          reach(kExit, cost + 1, false);
        } else if (!Blocking(map.At(column, row - 1, false))) {
          reach(cell - kColumns, cost + 1, false);
        }
      }
      if (below == tcLadder || ((here == tcLadder || here == tcBar) && !Blocking(below)))
        reach(cell + kColumns, cost + 1, false);
    }
  }

  if (play.phase != spCollect) {
    if (distance[kExit] == kUnreached) return std::nullopt;
    return distance[kExit];
  }
  int nearest = kUnreached;
  for (int cell = 0; cell < kCells; ++cell) {
    if (map.At(cell % kColumns, cell / kColumns, false) != tcGold) continue;
    if (distance[cell] == kUnreached) return std::nullopt;
    nearest = std::min(nearest, distance[cell]);
  }
  if (nearest == kUnreached) return 0;
  return nearest;
}

}  // namespace bd::planner
