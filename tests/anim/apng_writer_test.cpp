// The animated-PNG writer: the file's chunks as a reader walks them, every
// frame decoded on its own and laid over the ones before it, merged frames,
// refused frames and the tool's arguments.
#include "tools/anim/apng_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <sstream>

namespace bd::anim {
namespace {

// ---- an independent reader of the written file ----

struct TChunk {
  std::string type;
  QByteArray data;
};

uint32_t U32(const QByteArray& bytes, qsizetype at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

uint16_t U16(const QByteArray& bytes, qsizetype at) {
  return static_cast<uint16_t>((static_cast<uint8_t>(bytes[at]) << 8) | static_cast<uint8_t>(bytes[at + 1]));
}

// Walks the chunks after the signature; every CRC is checked with zlib's.
std::vector<TChunk> ReadChunks(const QByteArray& png) {
  std::vector<TChunk> chunks;
  qsizetype at = 8;
  while (at < png.size()) {
    EXPECT_LE(at + 12, png.size()) << "a chunk runs past the end";
    if (at + 12 > png.size()) break;
    const qsizetype length = U32(png, at);
    EXPECT_LE(at + 12 + length, png.size()) << "a chunk runs past the end";
    if (at + 12 + length > png.size()) break;
    const QByteArray type_and_data = png.mid(at + 4, 4 + length);
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type_and_data.constData()),
                            static_cast<uInt>(type_and_data.size()));
    EXPECT_EQ(U32(png, at + 8 + length), crc) << "bad CRC on " << type_and_data.left(4).toStdString();
    chunks.push_back({type_and_data.left(4).toStdString(), type_and_data.mid(4)});
    at += 12 + length;
  }
  return chunks;
}

QByteArray Be32(uint32_t value) {
  QByteArray bytes;
  for (int shift = 24; shift >= 0; shift -= 8) bytes.append(static_cast<char>((value >> shift) & 0xFF));
  return bytes;
}

QByteArray Chunk(const char* type, const QByteArray& data) {
  const QByteArray type_and_data = QByteArray(type, 4) + data;
  const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type_and_data.constData()),
                          static_cast<uInt>(type_and_data.size()));
  return Be32(static_cast<uint32_t>(data.size())) + type_and_data + Be32(static_cast<uint32_t>(crc));
}

struct TDecodedFrame {
  QRect rect;
  int delay_num = 0, delay_den = 0, dispose = -1, blend = -1;
  QImage pixels;  // the frame's rectangle, decoded as a plain PNG of its own
};

struct TDecoded {
  QSize size;
  uint32_t frame_count = 0, loops = 0;
  std::vector<TDecodedFrame> frames;
};

// Reassembles each frame as a plain PNG (IHDR of the frame's size, the image
// data, IEND) and loads it with QImage, as a viewer that knows APNG would.
TDecoded Decode(const QByteArray& apng) {
  TDecoded decoded;
  EXPECT_EQ(apng.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
  const std::vector<TChunk> chunks = ReadChunks(apng);
  EXPECT_GE(chunks.size(), 5u);
  if (chunks.size() < 5) return decoded;
  EXPECT_EQ(chunks.front().type, "IHDR");
  EXPECT_EQ(chunks.back().type, "IEND");
  const QByteArray ihdr = chunks.front().data;
  decoded.size = QSize(static_cast<int>(U32(ihdr, 0)), static_cast<int>(U32(ihdr, 4)));

  uint32_t next_sequence = 0;
  bool seen_idat = false, seen_actl = false;
  std::vector<QByteArray> extras;  // chunks a plain decoder also needs, e.g. PLTE
  for (const TChunk& chunk : chunks) {
    if (chunk.type == "acTL") {
      EXPECT_FALSE(seen_idat) << "acTL after the image data";
      seen_actl = true;
      decoded.frame_count = U32(chunk.data, 0);
      decoded.loops = U32(chunk.data, 4);
    } else if (chunk.type == "fcTL") {
      EXPECT_EQ(chunk.data.size(), 26);
      EXPECT_EQ(U32(chunk.data, 0), next_sequence++) << "fcTL out of sequence";
      TDecodedFrame frame;
      frame.rect = QRect(static_cast<int>(U32(chunk.data, 12)), static_cast<int>(U32(chunk.data, 16)),
                         static_cast<int>(U32(chunk.data, 4)), static_cast<int>(U32(chunk.data, 8)));
      frame.delay_num = U16(chunk.data, 20);
      frame.delay_den = U16(chunk.data, 22);
      frame.dispose = static_cast<uint8_t>(chunk.data[24]);
      frame.blend = static_cast<uint8_t>(chunk.data[25]);
      decoded.frames.push_back(frame);
    } else if (chunk.type == "IDAT" || chunk.type == "fdAT") {
      EXPECT_FALSE(decoded.frames.empty()) << chunk.type << " before any fcTL";
      if (decoded.frames.empty()) continue;
      QByteArray data = chunk.data;
      if (chunk.type == "fdAT") {
        EXPECT_TRUE(seen_idat) << "fdAT before IDAT";
        EXPECT_EQ(U32(data, 0), next_sequence++) << "fdAT out of sequence";
        data = data.mid(4);
      } else {
        EXPECT_EQ(decoded.frames.size(), 1u) << "IDAT belongs to the first frame only";
        seen_idat = true;
      }
      TDecodedFrame& frame = decoded.frames.back();
      const QByteArray frame_ihdr = Be32(static_cast<uint32_t>(frame.rect.width())) +
                                    Be32(static_cast<uint32_t>(frame.rect.height())) + ihdr.mid(8);
      QByteArray plain = apng.left(8) + Chunk("IHDR", frame_ihdr);
      for (const QByteArray& extra : extras) plain += extra;
      plain += Chunk("IDAT", data) + Chunk("IEND", {});
      frame.pixels = QImage::fromData(plain, "PNG");
      EXPECT_FALSE(frame.pixels.isNull()) << "frame " << decoded.frames.size() - 1 << " does not decode";
    } else if (chunk.type != "IHDR" && chunk.type != "IEND" && !seen_idat) {
      extras.push_back(Chunk(chunk.type.c_str(), chunk.data));
    }
  }
  EXPECT_TRUE(seen_actl && seen_idat);
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
    EXPECT_TRUE(QRect(QPoint(0, 0), decoded.size).contains(frame.rect)) << "a frame outside the picture";
    if (frame.pixels.isNull()) continue;
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

// ---- the file ----

TEST(ApngWriter, ChunksAreInOrderWithFrameCountSequenceNumbersAndCrcs) {
  const std::vector<TAnimFrame> frames = {{Scene(2, 2), 72}, {Scene(6, 3), 72}, {Scene(30, 20), 144}};
  const QByteArray apng = EncodeApng(frames, 3);
  const TDecoded decoded = Decode(apng);
  EXPECT_EQ(decoded.size, QSize(48, 32));
  EXPECT_EQ(decoded.frame_count, 3u);
  EXPECT_EQ(decoded.loops, 3u);
  ASSERT_EQ(decoded.frames.size(), 3u);
  EXPECT_EQ(decoded.frames[0].rect, QRect(0, 0, 48, 32)) << "the first frame is the whole picture";
  // Later frames hold just the rectangle that changed: old square and new.
  EXPECT_EQ(decoded.frames[1].rect, QRect(QPoint(2, 2), QPoint(10, 6)));
  EXPECT_EQ(decoded.frames[2].rect, QRect(QPoint(6, 3), QPoint(34, 23)));
  EXPECT_EQ(decoded.frames[2].delay_num * 1000, 144 * decoded.frames[2].delay_den);
}

TEST(ApngWriter, EveryFrameDecodesAndShowsItsInput) {
  std::vector<TAnimFrame> frames;
  for (int step = 0; step < 12; ++step)
    frames.push_back({Scene(step * 3 % 43, step * 5 % 28, QColor(step * 20, 255 - step * 20, 90)), 48});
  frames.push_back({Scene(0, 0), 48});
  const TDecoded decoded = Decode(EncodeApng(frames));
  const std::vector<QImage> shown = Play(decoded);
  ASSERT_EQ(shown.size(), frames.size());
  for (size_t k = 0; k < frames.size(); ++k)
    EXPECT_TRUE(SamePixels(shown[k], frames[k].image)) << "frame " << k << " shows something else";
  EXPECT_EQ(decoded.loops, 0u) << "plays for ever by default";
}

TEST(ApngWriter, AViewerWithoutAnimationShowsTheFirstFrame) {
  const std::vector<TAnimFrame> frames = {{Scene(10, 10), 100}, {Scene(20, 5), 100}};
  EXPECT_TRUE(SamePixels(QImage::fromData(EncodeApng(frames), "PNG"), frames[0].image));
}

TEST(ApngWriter, EqualFramesLengthenTheOneBefore) {
  const QImage a = Scene(1, 1), b = Scene(9, 9);
  const TDecoded decoded = Decode(EncodeApng({{a, 100}, {a, 50}, {a, 20}, {b, 30}, {b, 40}, {a, 10}}));
  ASSERT_EQ(decoded.frames.size(), 3u);
  const int delays[] = {170, 70, 10};
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(decoded.frames[k].delay_num * 1000, delays[k] * decoded.frames[k].delay_den) << "frame " << k;
  const std::vector<QImage> shown = Play(decoded);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_TRUE(SamePixels(shown[1], b));
  EXPECT_TRUE(SamePixels(shown[2], a));
}

TEST(ApngWriter, AHoldLongerThanOneDelayBecomesAFrameOfItsOwn) {
  const QImage a = Scene(1, 1);
  const TDecoded decoded = Decode(EncodeApng({{a, 60000}, {a, 60000}, {Scene(3, 3), 100}}));
  ASSERT_EQ(decoded.frames.size(), 3u);
  EXPECT_EQ(decoded.frames[1].delay_num * 1000, 60000 * decoded.frames[1].delay_den);
  const std::vector<QImage> shown = Play(decoded);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_TRUE(SamePixels(shown[1], a));
}

TEST(ApngWriter, FramesOfAnyImageFormatGoTogetherWithoutAlpha) {
  QImage with_alpha = Scene(4, 4).convertToFormat(QImage::Format_ARGB32);
  with_alpha.setPixel(0, 0, qRgba(10, 20, 30, 255));
  const QImage indexed = Scene(8, 8).convertToFormat(QImage::Format_Indexed8);
  const QImage rgb888 = Scene(12, 12).convertToFormat(QImage::Format_RGB888);
  const std::vector<TAnimFrame> frames = {{with_alpha, 10}, {indexed, 10}, {rgb888, 10}};
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
  ASSERT_TRUE(dir.isValid());
  const std::string first = dir.filePath("a.png").toStdString(), second = dir.filePath("b.png").toStdString();
  const std::string output = dir.filePath("out.png").toStdString();
  ASSERT_TRUE(Scene(0, 0).save(QString::fromStdString(first)));
  ASSERT_TRUE(Scene(20, 20).save(QString::fromStdString(second)));
  std::ostringstream out, err;
  ASSERT_EQ(
      ApngMain({"--loops", "2", output, "--delay", "40", first, "--delay", "960", second, first}, out, err),
      0)
      << err.str();
  QFile file(QString::fromStdString(output));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const TDecoded decoded = Decode(file.readAll());
  EXPECT_EQ(decoded.loops, 2u);
  ASSERT_EQ(decoded.frames.size(), 3u);
  const int delays[] = {40, 960, 960};
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(decoded.frames[k].delay_num * 1000, delays[k] * decoded.frames[k].delay_den) << "frame " << k;
  EXPECT_NE(out.str().find("3 frames in, 3 written"), std::string::npos) << out.str();
}

TEST(ApngTool, BadArgumentsAndUnwritableOutputsFail) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string frame = dir.filePath("a.png").toStdString();
  ASSERT_TRUE(Scene(0, 0).save(QString::fromStdString(frame)));
  const std::string output = dir.filePath("out.png").toStdString();
  const std::vector<std::vector<std::string>> bad = {
      {},
      {output},
      {output, "--delay", frame},
      {output, "--delay", "65536", frame},
      {output, "--delay", "-3", frame},
      {output, "--loops", "x", frame},
      {output, "--fast", frame},
      {output, frame, dir.filePath("missing.png").toStdString()},
      {output, frame, output + ".not-a-picture"},
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
