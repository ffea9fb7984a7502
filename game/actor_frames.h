// Frame numbers of the runner's and the guards' pictures that the rules
// choose between, and the pixel thresholds that decide a pose or a move.
// The sprite sheet draws frame n; these say what n shows.
#pragma once

namespace bd {

// The runner: two ranges of each pose, facing left and facing right.
inline constexpr int kRunnerStandLeft = 0, kRunnerStandRight = 18;
inline constexpr int kRunnerRunLeft = 1, kRunnerRunRight = 19;    // three frames each
inline constexpr int kRunnerFallLeft = 4, kRunnerFallRight = 22;  // three frames each
inline constexpr int kRunnerClimb = 8;                            // four frames, 8..11
inline constexpr int kRunnerBarLeft = 12, kRunnerBarRight = 30;   // four frames each
inline constexpr int kRunnerDigLeft = 17, kRunnerDigRight = 35;
// Climbing and hanging poses have four frames each.
inline constexpr int kRunnerPoseFrames = 4;

// Guards.
inline constexpr int kGuardRunLeft = 1, kGuardRunRight = 19;    // three frames each
inline constexpr int kGuardFallLeft = 4, kGuardFallRight = 22;  // two frames each
inline constexpr int kGuardClimb = 6;                           // four frames, 6..9
inline constexpr int kGuardBarLeft = 10, kGuardBarRight = 28;   // three and four frames
inline constexpr int kGuardGrowing = 13;                        // first of the frames it grows back in

// An actor hangs on a bar while less than this many pixels into the bar's
// cell from its left, or more than this into the cell to the bar's left.
inline constexpr int kBarGripPixels = 15;
// A standing runner keeps hold of a bar up to one pixel further.
inline constexpr int kIdleBarGripPixels = 16;
// A hole can be dug while the runner is less than half a cell off his row;
// the half of a cell that holds most of him is his home cell.
inline constexpr int kHalfCellPixels = 16;
// Walking right over a gap, he drops into it this far into his cell.
inline constexpr int kGapDropPixels = 24;
// A guard catches the runner when they overlap by more than this many
// pixels across and less than a cell up or down.
inline constexpr int kCatchOverlapPixels = 8;

}  // namespace bd
