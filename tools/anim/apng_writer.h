// burrow-dash-apng: puts PNG frames of one size together into an animated
// PNG. Qt writes each frame's pixels as an ordinary PNG; its image data is
// then wrapped in the animation chunks (acTL, fcTL, fdAT). After the first
// frame, a frame holds only the rectangle that changed since the frame before
// it, and a frame equal to the one before it lengthens that one's delay.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace bd::anim {

// Frames that cannot be put together, or bad arguments to the tool.
class AnimError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TAnimFrame {
  QImage image;
  int delay_ms = 100;  // how long the frame shows, 0..65535
};

// The CRC-32 that PNG chunks end with, over the chunk's type and data.
uint32_t PngCrc(const QByteArray& type_and_data);

// The rectangle holding every pixel in which the two images (of one size)
// differ; empty when they are equal.
QRect ChangedRect(const QImage& before, const QImage& after);

// The bytes of the animated PNG: every frame in order, looping `loops` times
// (0: for ever). Frames are compared and written as 24-bit colour, so alpha is
// dropped. Throws AnimError when there are no frames, the sizes differ, or a
// delay is out of range.
QByteArray EncodeApng(const std::vector<TAnimFrame>& frames, int loops = 0);

// The whole tool: `[--loops N] OUTPUT [--delay MS] FRAME...`, where each
// --delay sets the delay of the frames named after it (default 100 ms).
// Returns 0 when written, 2 for bad arguments or unreadable frames, 1 when the
// output cannot be written.
int ApngMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace bd::anim
