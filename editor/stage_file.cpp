// Stage files: "BD" and the six editor stages, packed.
#include "editor/stage_file.h"

#include <algorithm>

namespace bd {

std::optional<TEditSet> ParseStageFile(std::span<const uint8_t> bytes) {
  if (bytes.size() < 2 || bytes[0] != kStageFileMagic[0] || bytes[1] != kStageFileMagic[1])
    return std::nullopt;
  // A short file would leave the last stages half read: refuse it whole.
  if (bytes.size() < kStageFileBytes) return std::nullopt;
  TEditSet stages;
  for (int k = 0; k < kEditStageCount; ++k) {
    TPackedStage packed;
    const auto record = bytes.subspan(2 + static_cast<size_t>(k) * kPackedStageBytes, kPackedStageBytes);
    std::copy(record.begin(), record.end(), packed.bytes.begin());
    stages[k] = UnpackStage(packed);
  }
  return stages;
}

std::string StageFileProblem(std::span<const uint8_t> bytes) {
  // The magic first: a file that is something else entirely is best told so.
  if (bytes.size() >= 2 && (bytes[0] != kStageFileMagic[0] || bytes[1] != kStageFileMagic[1]))
    return "it does not begin as a stage file does";
  if (bytes.size() < kStageFileBytes) {
    return "it is " + std::to_string(bytes.size()) + (bytes.size() == 1 ? " byte" : " bytes") +
           " long where a stage file has " + std::to_string(kStageFileBytes);
  }
  return {};
}

std::array<uint8_t, kStageFileBytes> StageFileBytes(const TEditSet& stages) {
  std::array<uint8_t, kStageFileBytes> bytes{};
  bytes[0] = kStageFileMagic[0];
  bytes[1] = kStageFileMagic[1];
  for (int k = 0; k < kEditStageCount; ++k) {
    const TPackedStage packed = PackStage(stages[k]);
    std::copy(packed.bytes.begin(), packed.bytes.end(),
              bytes.begin() + 2 + static_cast<ptrdiff_t>(k) * kPackedStageBytes);
  }
  return bytes;
}

}  // namespace bd
