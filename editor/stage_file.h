// The stage file: "BD" and the six editor stages, packed, 674 bytes in all.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "stage/edit_set.h"
#include "stage/stage_grid.h"

namespace bd {

inline constexpr uint8_t kStageFileMagic[2] = {0x42, 0x44};                         // "BD"
inline constexpr size_t kStageFileBytes = 2 + kEditStageCount * kPackedStageBytes;  // 674

// The six stages held by a stage file's bytes, or nothing when the bytes do
// not start with the magic or are too few to hold all six stages. Bytes past
// the 674th are ignored; cell values are taken as they are.
std::optional<TEditSet> ParseStageFile(std::span<const uint8_t> bytes);

// Why ParseStageFile refuses these bytes, in a player's words ("it does not
// begin as a stage file does"); empty when it takes them.
std::string StageFileProblem(std::span<const uint8_t> bytes);

// The 674 bytes of a stage file holding these six stages.
std::array<uint8_t, kStageFileBytes> StageFileBytes(const TEditSet& stages);

}  // namespace bd
