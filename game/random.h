// The guards' pseudo-random generator: plain state, so a seeded run replays
// exactly and a copied game goes on with the same numbers.
#pragma once

#include <cstdint>

namespace bd {

struct TRandom {
  uint32_t seed = 0;

  // A non-negative number.
  int32_t Next() {
    seed = seed * 134775813u + 1u;
    return static_cast<int32_t>(seed >> 1);
  }

  bool operator==(const TRandom&) const = default;
};

}  // namespace bd
