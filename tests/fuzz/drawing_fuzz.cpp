// Drawing at any position with any text: transfers, actors and text must stay
// inside their surfaces however far off the edge they are asked to go.
// Built by the fuzz preset.
#include <cstddef>
#include <cstdint>
#include <string>

#include "render/draw.h"
#include "render/raster.h"

namespace {

int16_t Take16(const uint8_t*& data, size_t& size) {
  if (size < 2) return 0;
  const auto value = static_cast<int16_t>(data[0] | (data[1] << 8));
  data += 2;
  size -= 2;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bd::TSurface sheet(bd::kSheetWidth, bd::kSheetHeight);
  static bd::TSurface image(bd::kImageWidth, bd::kImageHeight);
  const int x = Take16(data, size), y = Take16(data, size);
  const int sx = Take16(data, size), sy = Take16(data, size);
  const int w = Take16(data, size), h = Take16(data, size);
  const auto op = static_cast<bd::TRasterOp>(static_cast<uint16_t>(Take16(data, size)) % 4);
  bd::BlockTransfer(image, x, y, sheet, sx, sy, w, h, op);
  bd::BlockTransfer(image, x, y, image, sx, sy, w, h, bd::TRasterOp::Copy);
  bd::FillBlack(image, sx, sy, w, h);
  bd::DrawActor(image, sheet, {sx, sy}, {x, y}, x, y);
  const std::string text(reinterpret_cast<const char*>(data), size);
  bd::DrawText16(image, sheet, x % 64, y % 64, text.c_str());
  return 0;
}
