// Ten thousand play ticks on a busy stage must not touch the heap. The
// program's operator new is replaced by a counting one, which is why this
// test is an executable of its own. To find an allocation that shows up,
// break on CountedAllocation in gdb while counting is on.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iterator>
#include <new>
#include <string_view>
#include <vector>

#include "tests/play_fixture.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

[[gnu::noinline]] void CountedAllocation() { allocations.fetch_add(1, std::memory_order_relaxed); }

void* Allocate(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) CountedAllocation();
  return std::malloc(size == 0 ? 1 : size);
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
  if (counting.load(std::memory_order_relaxed)) CountedAllocation();
  const std::size_t a = static_cast<std::size_t>(align);
  // aligned_alloc wants a size that is a multiple of the alignment.
  return std::aligned_alloc(a, size == 0 ? a : (size + a - 1) / a * a);
}

void* OrThrow(void* p) {
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

}  // namespace

void* operator new(std::size_t size) { return OrThrow(Allocate(size)); }
void* operator new[](std::size_t size) { return OrThrow(Allocate(size)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t align) { return OrThrow(AllocateAligned(size, align)); }
void* operator new[](std::size_t size, std::align_val_t align) {
  return OrThrow(AllocateAligned(size, align));
}
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, align);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

namespace bd::testing {
namespace {

// Sound without a record: the headless audio keeps every path in a vector,
// which would count against the tick.
class QuietAudio : public platform::AudioService {
 public:
  void PlayWave(const std::string& path) override { digs += std::string_view(path).ends_with("dig.wav"); }
  void OpenAndPlayMusic(const std::string&) override {}
  void StopMusic() override {}
  int digs = 0;
};

// Walks right to the ladder, climbs, digs both ways, goes back; over and over.
struct TKeyStep {
  uint16_t key;
  int ticks;
};
constexpr TKeyStep kKeyCycle[] = {{vkRight, 8}, {vkUp, 40},   {vkRight, 12}, {vkZ, 4},     {vkX, 4},
                                  {vkLeft, 20}, {vkDown, 30}, {vkLeft, 14},  {vkRight, 6}, {vkX, 4}};
constexpr int kTicks = 10000;
// A tally is left to run this long before the stage starts again.
constexpr int kTallyTicks = 200;

TEST(NoAllocation, TenThousandPlayTicksOnABusyStage) {
  platform::HeadlessServices headless;
  QuietAudio audio;
  TApp app{platform::Services{headless.window, headless.timers, headless.dialogs, audio, headless.joystick,
                              headless.clock, headless.files}};
  app.SetSpriteSheet(MakeTestSheet());
  app.Startup();
  app.editor.SetStage(0, FramedStage({
                             "$.....G......$",
                             "BBHBBBBBBBBHBB",
                             "..H...$....H..",
                             "..H--------H..",
                             "..H.G......H..",
                             "BBBBBHBBBBBBBB",
                             ".....H........",
                             ".$...H..G..$..",
                             "BBBHBBBBHBBBBB",
                             "...H....H.....",
                             "...H$...H..G..",
                             ".R.H....H....$",
                             "BBBBBBBBBBBBBB",
                         }));
  app.EditMode();
  app.TestPlay();
  ASSERT_EQ(app.game.play().guard_count, 4);

  // The counter sees an allocation made while it counts.
  std::vector<int> probe;
  counting = true;
  probe.resize(64 + app.game.play().guard_count);
  counting = false;
  ASSERT_EQ(probe.size(), 68u);
  EXPECT_GT(allocations.load(), 0);
  allocations = 0;

  const int start_y = app.game.play().runner.y;
  int highest_y = start_y;
  int tally_ticks = 0;
  int step = 0;
  int left = kKeyCycle[0].ticks;
  counting = true;
  app.KeyDown(kKeyCycle[0].key);
  for (int t = 0; t < kTicks; ++t) {
    if (left == 0) {
      app.KeyUp(kKeyCycle[step].key);
      step = (step + 1) % static_cast<int>(std::size(kKeyCycle));
      app.KeyDown(kKeyCycle[step].key);
      left = kKeyCycle[step].ticks;
    }
    --left;
    app.PlayTick();
    highest_y = std::min(highest_y, app.game.play().runner.y);
    tally_ticks = app.game.play().phase == spTally ? tally_ticks + 1 : 0;
    if (app.game.play().runner.DeathTicks == kDeathTicksOver || tally_ticks == kTallyTicks) {
      // The restart is no part of the tick.
      counting = false;
      app.StartStage();
      app.KeyDown(kKeyCycle[step].key);
      tally_ticks = 0;
      counting = true;
    }
  }
  counting = false;

  EXPECT_EQ(allocations.load(), 0);
  // The walk did climb and dig.
  EXPECT_LT(highest_y, start_y);
  EXPECT_GT(audio.digs, 0);
}

}  // namespace
}  // namespace bd::testing
