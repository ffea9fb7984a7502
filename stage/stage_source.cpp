#include "stage/stage_source.h"

namespace bd {

const TStageGrid* SourceGridForStage(int stage_index, const TEditSet* edited_set, TStageGrid& scratch) {
  if (edited_set != nullptr) {
    if (stage_index < 0 || stage_index >= kEditStageCount) return nullptr;
    return &(*edited_set)[stage_index];  // read in place, never copied
  }
  if (stage_index < 0 || stage_index >= kBuiltInStageCount) return nullptr;
  scratch = UnpackStage(BuiltInStages[stage_index]);
  return &scratch;
}

}  // namespace bd
