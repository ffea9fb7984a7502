#include "game/guard_contacts.h"

#include "game/guards.h"

namespace bd {
namespace {
bool Counted(int8_t state) { return state >= kGuardFree && state <= kGuardLastCounted; }
}  // namespace

bool GuardNear(const TGuardTable& guards, int x, int y) {
  for (int i = 0; i < kListCapacity; ++i) {
    if (!Counted(guards.State[i]) || guards.Y[i] != y) continue;
    const int dx = guards.X[i] - x;
    if (dx > -kCellPixels && dx < kCellPixels) return true;
  }
  return false;
}

bool GuardAt(const TGuardTable& guards, int x, int y) {
  for (int i = 0; i < kListCapacity; ++i) {
    if (Counted(guards.State[i]) && guards.X[i] == x && guards.Y[i] == y) return true;
  }
  return false;
}

}  // namespace bd
