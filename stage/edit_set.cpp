#include "stage/edit_set.h"

namespace bd {

void ClearAll(TEditSet& set) {
  for (auto& stage : set.stages) ClearToFrame(stage);
}

}  // namespace bd
