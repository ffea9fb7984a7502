// The keys a fuzz input plays: one byte an event, the key in its low three
// bits, down or up in bit 3 and the ticks to run after it in the top four.
// The play stops after kMaxTicks, so one input is one short, deep play.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/app.h"
#include "platform/headless/headless_services.h"

namespace bd::fuzz {

inline constexpr int kMaxTicks = 256;

// The program started once on the headless services and kept for every
// input; the records of sounds are emptied so they do not grow run after run.
inline TApp& StartedApp(platform::HeadlessServices& headless) {
  static TApp* app = [&headless] {
    auto* created = new TApp(headless.services());
    created->Startup();
    return created;
  }();
  headless.audio.waves.clear();
  headless.audio.music_calls.clear();
  return *app;
}

inline bool ListsWithinCapacity(const TPlayState& play) {
  return play.guard_count <= kListCapacity && play.gold.count <= kListCapacity &&
         play.ladders.count <= kListCapacity;
}

inline void Check(bool holds) {
  if (!holds) __builtin_trap();
}

// Plays the stage the app has started. Without key bytes it still runs,
// keys untouched, so a stage alone is worth an input.
inline void PlayKeys(TApp& app, const uint8_t* keys, size_t count) {
  static constexpr uint16_t kKeys[] = {vkLeft, vkUp, vkRight, vkDown, vkZ, vkX, vkSpace, vkLeft};
  int ticks = 0;
  for (size_t i = 0; ticks < kMaxTicks; ++i) {
    int run = kMaxTicks;
    if (i < count) {
      const uint8_t byte = keys[i];
      const uint16_t key = kKeys[byte & 7];
      if (byte & 8) {
        app.KeyDown(key);
      } else {
        app.KeyUp(key);
      }
      run = (byte >> 4) + 1;
    }
    for (int t = 0; t < run && ticks < kMaxTicks; ++t, ++ticks) {
      app.PlayTick();
      Check(ListsWithinCapacity(app.game.play()));
    }
  }
}

}  // namespace bd::fuzz
