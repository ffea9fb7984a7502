#include "render/raster.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace bd {
namespace {

// Narrows a span [pos, pos + len) on one axis to [0, limit), moving the other
// surface's matching start along with it.
bool ClipAxis(int& pos, int& other, int& len, int limit) {
  if (pos < 0) {
    other -= pos;
    len += pos;
    pos = 0;
  }
  if (pos + len > limit) len = limit - pos;
  return len > 0;
}

template <typename Combine>
void CombineRows(uint32_t* dst, int dst_stride, const uint32_t* src, int src_stride, int w, int h,
                 Combine combine) {
  for (int row = 0; row < h; ++row) {
    uint32_t* d = dst + static_cast<ptrdiff_t>(row) * dst_stride;
    const uint32_t* s = src + static_cast<ptrdiff_t>(row) * src_stride;
    for (int i = 0; i < w; ++i) d[i] = combine(d[i], s[i]);
  }
}

}  // namespace

void BlockTransfer(TSurface& dst, int dx, int dy, const TSurface& src, int sx, int sy, int w, int h,
                   TRasterOp op) {
  if (w <= 0 || h <= 0) return;
  if (!ClipAxis(sx, dx, w, src.width()) || !ClipAxis(sy, dy, h, src.height())) return;
  if (!ClipAxis(dx, sx, w, dst.width()) || !ClipAxis(dy, sy, h, dst.height())) return;

  const int dst_stride = dst.width();
  const int src_stride = src.width();
  uint32_t* d = dst.data() + static_cast<ptrdiff_t>(dy) * dst_stride + dx;
  const uint32_t* s = src.data() + static_cast<ptrdiff_t>(sy) * src_stride + sx;

  switch (op) {
    case TRasterOp::Copy:
      if (&dst == &src && dy > sy) {
        // Overlapping copy downwards within one surface: go bottom-up.
        for (int row = h - 1; row >= 0; --row)
          std::memmove(d + static_cast<ptrdiff_t>(row) * dst_stride,
                       s + static_cast<ptrdiff_t>(row) * src_stride, w * sizeof(uint32_t));
      } else {
        for (int row = 0; row < h; ++row)
          std::memmove(d + static_cast<ptrdiff_t>(row) * dst_stride,
                       s + static_cast<ptrdiff_t>(row) * src_stride, w * sizeof(uint32_t));
      }
      return;
    case TRasterOp::And:
      return CombineRows(d, dst_stride, s, src_stride, w, h, [](uint32_t a, uint32_t b) { return a & b; });
    case TRasterOp::Or:
      return CombineRows(d, dst_stride, s, src_stride, w, h, [](uint32_t a, uint32_t b) { return a | b; });
    case TRasterOp::Xor:
      return CombineRows(d, dst_stride, s, src_stride, w, h, [](uint32_t a, uint32_t b) { return a ^ b; });
  }
}

void FillBlack(TSurface& dst, int x, int y, int w, int h) {
  int unused_x = 0;
  int unused_y = 0;
  if (w <= 0 || h <= 0) return;
  if (!ClipAxis(x, unused_x, w, dst.width()) || !ClipAxis(y, unused_y, h, dst.height())) return;
  for (int row = 0; row < h; ++row)
    std::fill_n(dst.data() + static_cast<ptrdiff_t>(y + row) * dst.width() + x, w, 0u);
}

}  // namespace bd
