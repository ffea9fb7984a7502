#include "stage/edit_set.h"

namespace bd {

void ClearAll(TEditSet& set) {
  for (auto& stage : set) ClearToFrame(stage);
}

}  // namespace bd
