// The animated-PNG writer: the file's chunks as an independent reader walks
// them, every frame decoded on its own and laid over the ones before it,
// merged frames, refused frames and the tool's arguments.
#include "tools/anim/apng_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <sstream>

namespace bd::anim {
namespace {

uint32_t U32(const QByteArray& bytes, qsizetype at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

QByteArray Be32(uint32_t value) {
  QByteArray bytes;
  for (int shift = 24; shift >= 0; shift -= 8) bytes.append(static_cast<char>((value >> shift) & 0xFF));
  return bytes;
}

uint32_t ZlibCrc(const QByteArray& bytes) {
  return static_cast<uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef*>(bytes.constData()), static_cast<uInt>(bytes.size())));
}

QByteArray Chunk(const QByteArray& type, const QByteArray& data) {
  return Be32(static_cast<uint32_t>(data.size())) + type + data + Be32(ZlibCrc(type + data));
}

struct TDecodedFrame {
  QRect rect;
  int delay_ms = -1, dispose = -1, blend = -1;
  QImage pixels;  // the frame's rectangle, decoded as a plain PNG of its own
};

struct TDecoded {
  QSize size;
  uint32_t frame_count = 0, loops = 0;
  std::vector<TDecodedFrame> frames;
};

// Walks the chunks, checking every CRC with zlib's and the sequence numbers,
// and reassembles each frame as a plain PNG (IHDR of the frame's size, the
// chunks before the image data, the frame's data, IEND) for QImage to load.
TDecoded Decode(const QByteArray& apng) {
  TDecoded decoded;
  EXPECT_EQ(apng.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
  QByteArray ihdr, extras, last_type;
  uint32_t next_sequence = 0;
  bool seen_idat = false;
  for (qsizetype at = 8; at < apng.size();) {
    const qsizetype length = at + 12 <= apng.size() ? U32(apng, at) : -1;
    if (length < 0 || at + 12 + length > apng.size()) {
      ADD_FAILURE() << "a chunk runs past the end";
      break;
    }
    const QByteArray type = apng.mid(at + 4, 4), data = apng.mid(at + 8, length);
    EXPECT_EQ(U32(apng, at + 8 + length), ZlibCrc(type + data)) << "bad CRC on " << type.toStdString();
    at += 12 + length;
    last_type = type;
    if (type == "IHDR") {
      EXPECT_EQ(at, 8 + 25) << "IHDR must come first";
      ihdr = data;
      decoded.size = QSize(static_cast<int>(U32(data, 0)), static_cast<int>(U32(data, 4)));
    } else if (type == "acTL") {
      EXPECT_FALSE(seen_idat) << "acTL after the image data";
      decoded.frame_count = U32(data, 0);
      decoded.loops = U32(data, 4);
    } else if (type == "fcTL") {
      EXPECT_EQ(data.size(), 26);
      EXPECT_EQ(U32(data, 0), next_sequence++) << "fcTL out of sequence";
      const int num = (static_cast<uint8_t>(data[20]) << 8) | static_cast<uint8_t>(data[21]);
      const int den = (static_cast<uint8_t>(data[22]) << 8) | static_cast<uint8_t>(data[23]);
      decoded.frames.push_back({QRect(static_cast<int>(U32(data, 12)), static_cast<int>(U32(data, 16)),
                                      static_cast<int>(U32(data, 4)), static_cast<int>(U32(data, 8))),
                                num * 1000 / (den == 0 ? 100 : den), static_cast<uint8_t>(data[24]),
                                static_cast<uint8_t>(data[25]), QImage()});
    } else if (type == "IDAT" || type == "fdAT") {
      if (decoded.frames.empty()) {
        ADD_FAILURE() << type.toStdString() << " before any fcTL";
        continue;
      }
      QByteArray pixels = data;
      if (type == "fdAT") {
        EXPECT_TRUE(seen_idat) << "fdAT before IDAT";
        EXPECT_EQ(U32(data, 0), next_sequence++) << "fdAT out of sequence";
        pixels = data.mid(4);
      } else {
        EXPECT_EQ(decoded.frames.size(), 1u) << "IDAT belongs to the first frame only";
        seen_idat = true;
      }
      TDecodedFrame& frame = decoded.frames.back();
      const QByteArray frame_ihdr = Be32(static_cast<uint32_t>(frame.rect.width())) +
                                    Be32(static_cast<uint32_t>(frame.rect.height())) + ihdr.mid(8);
      frame.pixels = QImage::fromData(
          apng.left(8) + Chunk("IHDR", frame_ihdr) + extras + Chunk("IDAT", pixels) + Chunk("IEND", {}),
          "PNG");
      EXPECT_FALSE(frame.pixels.isNull()) << "frame " << decoded.frames.size() - 1 << " does not decode";
    } else if (type != "IEND" && !seen_idat) {
      extras += Chunk(type, data);  // e.g. pHYs, or PLTE that every frame shares
    }
  }
  EXPECT_EQ(last_type, "IEND");
  EXPECT_TRUE(seen_idat);
  EXPECT_EQ(decoded.frame_count, decoded.frames.size());
  return decoded;
}

// What a viewer shows after each frame: frames laid over the canvas in turn.
std::vector<QImage> Play(const TDecoded& decoded) {
  std::vector<QImage> shown;
  QImage canvas(decoded.size, QImage::Format_RGB32);
  canvas.fill(Qt::magenta);
  for (const TDecodedFrame& frame : decoded.frames) {
    EXPECT_EQ(frame.dispose, 0);
    EXPECT_EQ(frame.blend, 0);
    EXPECT_TRUE(canvas.rect().contains(frame.rect)) << "a frame outside the picture";
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(frame.rect.topLeft(), frame.pixels);
    painter.end();
    shown.push_back(canvas);
  }
  return shown;
}

bool SamePixels(const QImage& a, const QImage& b) {
  return a.size() == b.size() &&
         a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// A small stage-like picture: a coloured backdrop and a square at (x, y).
QImage Scene(int x, int y, QColor square = QColor(250, 40, 10)) {
  QImage image(48, 32, QImage::Format_RGB32);
  for (int row = 0; row < image.height(); ++row)
    for (int col = 0; col < image.width(); ++col) image.setPixel(col, row, qRgb(col * 5, row * 7, 200 - col));
  QPainter painter(&image);
  painter.fillRect(x, y, 5, 4, square);
  return image;
}

std::vector<int> Delays(const TDecoded& decoded) {
  std::vector<int> delays;
  for (const TDecodedFrame& frame : decoded.frames) delays.push_back(frame.delay_ms);
  return delays;
}

// ---- the file ----

TEST(ApngWriter, ChunksAreInOrderAndLaterFramesHoldOnlyWhatChanged) {
  const TDecoded decoded =
      Decode(EncodeApng({{Scene(2, 2), 72}, {Scene(6, 3), 72}, {Scene(30, 20), 144}}, 3));
  EXPECT_EQ(decoded.size, QSize(48, 32));
  EXPECT_EQ(decoded.loops, 3u);
  ASSERT_EQ(decoded.frames.size(), 3u);
  EXPECT_EQ(decoded.frames[0].rect, QRect(0, 0, 48, 32)) << "the first frame is the whole picture";
  // The old square and the new one.
  EXPECT_EQ(decoded.frames[1].rect, QRect(QPoint(2, 2), QPoint(10, 6)));
  EXPECT_EQ(decoded.frames[2].rect, QRect(QPoint(6, 3), QPoint(34, 23)));
  EXPECT_EQ(Delays(decoded), (std::vector<int>{72, 72, 144}));
}

TEST(ApngWriter, EveryFrameDecodesAndShowsItsInput) {
  std::vector<TAnimFrame> frames;
  for (int step = 0; step < 12; ++step)
    frames.push_back({Scene(step * 3 % 43, step * 5 % 28, QColor(step * 20, 255 - step * 20, 90)), 48});
  frames.push_back({Scene(0, 0), 48});
  const QByteArray apng = EncodeApng(frames);
  const TDecoded decoded = Decode(apng);
  EXPECT_EQ(decoded.loops, 0u) << "plays for ever by default";
  const std::vector<QImage> shown = Play(decoded);
  ASSERT_EQ(shown.size(), frames.size());
  for (size_t k = 0; k < frames.size(); ++k)
    EXPECT_TRUE(SamePixels(shown[k], frames[k].image)) << "frame " << k << " shows something else";
  // A viewer that knows no animation shows the first frame.
  EXPECT_TRUE(SamePixels(QImage::fromData(apng, "PNG"), frames[0].image));
}

TEST(ApngWriter, EqualFramesLengthenTheOneBeforeUpToTheLongestDelay) {
  const QImage a = Scene(1, 1), b = Scene(9, 9);
  const TDecoded merged = Decode(EncodeApng({{a, 100}, {a, 50}, {a, 20}, {b, 30}, {b, 40}, {a, 10}}));
  EXPECT_EQ(Delays(merged), (std::vector<int>{170, 70, 10}));
  const std::vector<QImage> shown = Play(merged);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_TRUE(SamePixels(shown[1], b) && SamePixels(shown[2], a));
  // Past 65,535 ms a hold is a frame of its own.
  const TDecoded held = Decode(EncodeApng({{a, 60000}, {a, 60000}, {b, 100}}));
  EXPECT_EQ(Delays(held), (std::vector<int>{60000, 60000, 100}));
  EXPECT_TRUE(SamePixels(Play(held).at(1), a));
}

TEST(ApngWriter, FramesOfAnyImageFormatGoTogetherWithoutAlpha) {
  const std::vector<TAnimFrame> frames = {{Scene(4, 4).convertToFormat(QImage::Format_ARGB32), 10},
                                          {Scene(8, 8).convertToFormat(QImage::Format_Indexed8), 10},
                                          {Scene(12, 12).convertToFormat(QImage::Format_RGB888), 10}};
  const std::vector<QImage> shown = Play(Decode(EncodeApng(frames)));
  ASSERT_EQ(shown.size(), 3u);
  for (size_t k = 0; k < 3; ++k) EXPECT_TRUE(SamePixels(shown[k], frames[k].image)) << "frame " << k;
}

TEST(ApngWriter, FramesThatCannotGoTogetherAreRefused) {
  const QImage a = Scene(0, 0);
  EXPECT_THROW(EncodeApng({}), AnimError);
  EXPECT_THROW(EncodeApng({{a, 10}, {a.copy(0, 0, 47, 32), 10}}), AnimError);
  EXPECT_THROW(EncodeApng({{a, 10}, {QImage(), 10}}), AnimError);
  EXPECT_THROW(EncodeApng({{a, 65536}}), AnimError);
  EXPECT_THROW(EncodeApng({{a, -1}}), AnimError);
  EXPECT_THROW(EncodeApng({{a, 10}}, -1), AnimError);
}

// ---- the tool ----

TEST(ApngTool, EachDelayAppliesToTheFramesAfterIt) {
  QTemporaryDir dir;
  const std::string first = dir.filePath("a.png").toStdString(), second = dir.filePath("b.png").toStdString();
  const std::string output = dir.filePath("out.png").toStdString();
  ASSERT_TRUE(Scene(0, 0).save(QString::fromStdString(first)) &&
              Scene(20, 20).save(QString::fromStdString(second)));
  std::ostringstream out, err;
  ASSERT_EQ(
      ApngMain({"--loops", "2", output, "--delay", "40", first, "--delay", "960", second, first}, out, err),
      0)
      << err.str();
  QFile file(QString::fromStdString(output));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const TDecoded decoded = Decode(file.readAll());
  EXPECT_EQ(decoded.loops, 2u);
  EXPECT_EQ(Delays(decoded), (std::vector<int>{40, 960, 960}));
  EXPECT_NE(out.str().find("3 frames in, 3 written"), std::string::npos) << out.str();
}

TEST(ApngTool, BadArgumentsAndUnwritableOutputsFail) {
  QTemporaryDir dir;
  const std::string frame = dir.filePath("a.png").toStdString(),
                    output = dir.filePath("out.png").toStdString();
  ASSERT_TRUE(Scene(0, 0).save(QString::fromStdString(frame)));
  const std::vector<std::vector<std::string>> bad = {
      {},
      {output},
      {output, "--delay", frame},
      {output, "--delay", "65536", frame},
      {output, "--loops", "-3", frame},
      {output, "--fast", frame},
      {output, frame, dir.filePath("missing.png").toStdString()},
  };
  for (const auto& args : bad) {
    std::ostringstream out, err;
    EXPECT_EQ(ApngMain(args, out, err), 2) << "accepted: " << testing::PrintToString(args);
    EXPECT_FALSE(err.str().empty());
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(output))) << "a refused run wrote its output";
  std::ostringstream out, err;
  EXPECT_EQ(ApngMain({dir.filePath("no/such/folder/out.png").toStdString(), frame}, out, err), 1);
}

}  // namespace
}  // namespace bd::anim
