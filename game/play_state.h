// The live state of a stage in play. Plain fixed-size data: rebuilt in place
// by every stage start, never allocated per tick, and cheap to copy whole.
#pragma once

#include <array>
#include <cstdint>

#include "stage/play_field.h"

namespace bd {

// The number of interior cells: no stage can hold more guards, gold or ladders.
inline constexpr int kListCapacity = 182;
inline constexpr int kHoleSlots = 32;
// DeathTicks stops here: the death is over and waits for the confirm action.
inline constexpr int kDeathTicksOver = 18;
inline constexpr int kBannerTicks = 32;

enum TStagePhase : int32_t { spCollect = 0, spEscape = 1, spTally = 2 };

struct TRunner {
  int32_t x = 0, y = 0;
  int32_t StepX = 0;  // last horizontal step: +8 right, -8 left
  int32_t StepY = 0;  // last vertical climbing step: +8 down, -8 up
  int32_t RunnerFrame = 0;
  int32_t IdleTicks = 0;
  int32_t DigTicks = 0;
  int32_t DigStepX = 0;
  int32_t DeathTicks = 0;  // 0 alive; 1..18 dying

  bool operator==(const TRunner&) const = default;
};

// Parallel arrays, as the rules scan one field of every slot at a time.
struct TGuardTable {
  std::array<int8_t, kListCapacity> State{};  // 0 empty slot
  std::array<int32_t, kListCapacity> X{}, Y{}, DX{}, DY{}, Frame{};

  bool operator==(const TGuardTable&) const = default;
};

struct TGoldList {
  std::array<uint8_t, kListCapacity> present{};
  std::array<int32_t, kListCapacity> X{}, Y{};
  int32_t count = 0;  // GoldCount

  bool operator==(const TGoldList&) const = default;
};

struct TLadderList {
  std::array<int32_t, kListCapacity> X{}, Y{};
  int32_t count = 0;

  bool operator==(const TLadderList&) const = default;
};

struct THoleTable {
  std::array<int8_t, kHoleSlots> timer{};  // 0 free
  std::array<int32_t, kHoleSlots> column{}, row{};

  bool operator==(const THoleTable&) const = default;
};

struct TPlayState {
  TPlayField field;
  TRunner runner;
  TGuardTable guards;
  int32_t guard_count = 0;
  TGoldList gold;
  TLadderList ladders;
  THoleTable holes;

  TStagePhase phase = spCollect;
  int32_t StartDelay = 0;
  int32_t GoldTicks = 0;
  int32_t LadderTicks = 0;
  int32_t GoldLeft = 0;
  int32_t CrushCount = 0;
  int32_t RowToReveal = 0;
  int32_t EndingTicks = 0;

  bool operator==(const TPlayState&) const = default;
};

}  // namespace bd
