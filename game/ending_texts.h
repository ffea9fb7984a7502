// The closing lines of the last built-in stage, drawn as its escape music plays.
#pragma once

namespace bd {

// The stage whose last gold starts the ending, and the ticks of its two lines.
inline constexpr int kEndingStageIndex = 15;
inline constexpr int kThanksAt = 100;
inline constexpr int kCreditAt = 160;

}  // namespace bd
