// Stage files: "BD" and the six editor stages, packed.
#include "app/main_window.h"

namespace bd {

bool TForm1::LoadStageFile(const std::string&) { return false; }

}  // namespace bd
