// A picture surface of the main window. Pixels are 0x00RRGGBB: black is all
// bits zero and white all bits one in every bit that drawing touches.
#pragma once

#include <cstdint>
#include <vector>

namespace bd {

class TSurface {
 public:
  // Allocates once; nothing resizes a surface afterwards.
  TSurface(int width, int height) : width_(width), height_(height), pixels_(width * height, 0u) {}

  int width() const { return width_; }
  int height() const { return height_; }
  const uint32_t* data() const { return pixels_.data(); }
  uint32_t* data() { return pixels_.data(); }
  uint32_t pixel(int x, int y) const { return pixels_[y * width_ + x]; }

  void FillBlack();

 private:
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
};

inline constexpr int kImageWidth = 512;
inline constexpr int kImageHeight = 448;

}  // namespace bd
