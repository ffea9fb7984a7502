#include "render/surface.h"

#include <algorithm>

namespace bd {

void TSurface::FillBlack() { std::fill(pixels_.begin(), pixels_.end(), 0u); }

}  // namespace bd
