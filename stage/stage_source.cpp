#include "stage/stage_source.h"

namespace bd {

const TStageGrid* SourceGridForStage(int stage_index, bool from_edit_set, const TEditSet& edit_set,
                                     TStageGrid& scratch) {
  if (from_edit_set) {
    if (stage_index < 0 || stage_index >= kEditStageCount) return nullptr;
    return &edit_set.stages[stage_index];  // read in place, never copied
  }
  if (stage_index < 0 || stage_index >= kBuiltInStageCount) return nullptr;
  scratch = UnpackStage(BuiltInStages[stage_index]);
  return &scratch;
}

}  // namespace bd
