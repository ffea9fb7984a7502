#include "tools/anim/apng_writer.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <charconv>
#include <ostream>

namespace bd::anim {
namespace {

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr int kSignatureSize = 8;
constexpr int kMaxDelay = 65535;  // fcTL holds the delay in 16 bits

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

void AppendU32(QByteArray& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.append(static_cast<char>((value >> shift) & 0xFFu));
}

void AppendU16(QByteArray& bytes, uint16_t value) {
  bytes.append(static_cast<char>(value >> 8));
  bytes.append(static_cast<char>(value & 0xFFu));
}

uint32_t ReadU32(const QByteArray& bytes, qsizetype at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

void AppendChunk(QByteArray& png, const char* type, const QByteArray& data) {
  QByteArray type_and_data(type, 4);
  type_and_data.append(data);
  AppendU32(png, static_cast<uint32_t>(data.size()));
  png.append(type_and_data);
  AppendU32(png, PngCrc(type_and_data));
}

struct TChunk {
  QByteArray type;
  QByteArray data;
};

// One frame's pixels as Qt writes them: its chunks between the signature and IEND.
std::vector<TChunk> QtPngChunks(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  writer.setCompression(100);  // Qt 6 takes 0..100 here; 100 is zlib's level 9
  if (!writer.write(image)) throw AnimError("Qt could not write a frame as PNG");
  if (png.size() < kSignatureSize || png.left(kSignatureSize) != QByteArray(kPngSignature, kSignatureSize))
    throw AnimError("Qt wrote a frame that is not a PNG");
  std::vector<TChunk> chunks;
  qsizetype at = kSignatureSize;
  while (at + 12 <= png.size()) {
    const qsizetype length = ReadU32(png, at);
    if (at + 12 + length > png.size()) break;
    chunks.push_back({png.mid(at + 4, 4), png.mid(at + 8, length)});
    at += 12 + length;
  }
  return chunks;
}

struct TEncodedFrame {
  QByteArray ihdr;
  std::vector<TChunk> before_data;  // chunks between IHDR and the first IDAT
  QByteArray data;                  // the IDAT chunks' data, joined
};

TEncodedFrame EncodeFrame(const QImage& image) {
  TEncodedFrame frame;
  for (TChunk& chunk : QtPngChunks(image)) {
    if (chunk.type == "IHDR") {
      frame.ihdr = chunk.data;
    } else if (chunk.type == "IDAT") {
      frame.data.append(chunk.data);
    } else if (chunk.type != "IEND" && frame.data.isEmpty()) {
      frame.before_data.push_back(std::move(chunk));
    }
  }
  if (frame.ihdr.size() != 13 || frame.data.isEmpty())
    throw AnimError("Qt wrote a frame without IHDR or IDAT");
  return frame;
}

QByteArray FrameControl(uint32_t sequence, const QRect& rect, int delay_ms) {
  QByteArray data;
  AppendU32(data, sequence);
  AppendU32(data, static_cast<uint32_t>(rect.width()));
  AppendU32(data, static_cast<uint32_t>(rect.height()));
  AppendU32(data, static_cast<uint32_t>(rect.x()));
  AppendU32(data, static_cast<uint32_t>(rect.y()));
  AppendU16(data, static_cast<uint16_t>(delay_ms));
  AppendU16(data, 1000);  // the delay is in milliseconds
  data.append('\0');      // dispose: leave the frame as it is
  data.append('\0');      // blend: the frame's pixels replace what was there
  return data;
}

struct TPlannedFrame {
  QRect rect;
  int delay_ms = 0;
  size_t source = 0;  // the input frame whose pixels it holds
};

bool ParseNumber(const std::string& text, int max, int& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0 && value <= max;
}

}  // namespace

uint32_t PngCrc(const QByteArray& type_and_data) {
  uint32_t c = 0xFFFFFFFFu;
  for (const char byte : type_and_data) c = kCrcTable[(c ^ static_cast<uint8_t>(byte)) & 0xFFu] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

QRect ChangedRect(const QImage& before, const QImage& after) {
  int left = after.width(), right = -1, top = after.height(), bottom = -1;
  for (int y = 0; y < after.height(); ++y) {
    const auto* a = reinterpret_cast<const uint32_t*>(before.constScanLine(y));
    const auto* b = reinterpret_cast<const uint32_t*>(after.constScanLine(y));
    for (int x = 0; x < after.width(); ++x) {
      if (a[x] == b[x]) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = y;
    }
  }
  if (right < 0) return {};
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

QByteArray EncodeApng(const std::vector<TAnimFrame>& frames, int loops) {
  if (frames.empty()) throw AnimError("no frames");
  if (loops < 0) throw AnimError("a negative loop count");
  const QSize size = frames.front().image.size();
  std::vector<QImage> images;
  images.reserve(frames.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    const TAnimFrame& frame = frames[i];
    if (frame.image.isNull() || frame.image.size() != size)
      throw AnimError("frame " + std::to_string(i) + " is empty or not of the first frame's size");
    if (frame.delay_ms < 0 || frame.delay_ms > kMaxDelay)
      throw AnimError("frame " + std::to_string(i) + " has a delay outside 0..65535 ms");
    images.push_back(frame.image.convertToFormat(QImage::Format_RGB32));
  }

  // Which rectangle each written frame holds and how long it shows.
  std::vector<TPlannedFrame> plan{{QRect(QPoint(0, 0), size), frames.front().delay_ms, 0}};
  for (size_t i = 1; i < images.size(); ++i) {
    QRect changed = ChangedRect(images[i - 1], images[i]);
    if (changed.isEmpty()) {
      if (plan.back().delay_ms + frames[i].delay_ms <= kMaxDelay) {
        plan.back().delay_ms += frames[i].delay_ms;
        continue;
      }
      changed = QRect(0, 0, 1, 1);  // too long to lengthen: repeat one pixel
    }
    plan.push_back({changed, frames[i].delay_ms, i});
  }

  QByteArray apng(kPngSignature, kSignatureSize);
  QByteArray first_ihdr;
  uint32_t sequence = 0;
  for (const TPlannedFrame& planned : plan) {
    const TEncodedFrame encoded = EncodeFrame(images[planned.source].copy(planned.rect));
    if (first_ihdr.isEmpty()) {
      first_ihdr = encoded.ihdr;
      AppendChunk(apng, "IHDR", encoded.ihdr);
      QByteArray animation;
      AppendU32(animation, static_cast<uint32_t>(plan.size()));
      AppendU32(animation, static_cast<uint32_t>(loops));
      AppendChunk(apng, "acTL", animation);
      for (const TChunk& chunk : encoded.before_data) AppendChunk(apng, chunk.type.constData(), chunk.data);
      AppendChunk(apng, "fcTL", FrameControl(sequence++, planned.rect, planned.delay_ms));
      AppendChunk(apng, "IDAT", encoded.data);
      continue;
    }
    // Bit depth, colour type, compression, filter and interlace: as the first frame's.
    if (encoded.ihdr.mid(8) != first_ihdr.mid(8))
      throw AnimError("Qt wrote frame " + std::to_string(planned.source) + " in another pixel format");
    AppendChunk(apng, "fcTL", FrameControl(sequence++, planned.rect, planned.delay_ms));
    QByteArray frame_data;
    AppendU32(frame_data, sequence++);
    frame_data.append(encoded.data);
    AppendChunk(apng, "fdAT", frame_data);
  }
  AppendChunk(apng, "IEND", {});
  return apng;
}

int ApngMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  static constexpr const char* kUsage =
      "usage: burrow-dash-apng [--loops N] OUTPUT [--delay MS] FRAME.png...\n"
      "  --loops N    play N times, 0 (default) for ever\n"
      "  --delay MS   how long each frame named after it shows, 0..65535 (default 100)\n";
  int loops = 0;
  int delay = 100;
  std::string output;
  std::vector<TAnimFrame> frames;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--loops" || arg == "--delay") {
      int& target = arg == "--loops" ? loops : delay;
      if (i + 1 >= args.size() || !ParseNumber(args[i + 1], kMaxDelay, target)) {
        err << "burrow-dash-apng: " << arg << " wants a number from 0 to 65535\n" << kUsage;
        return 2;
      }
      ++i;
    } else if (arg.starts_with("--")) {
      err << "burrow-dash-apng: unknown option " << arg << "\n" << kUsage;
      return 2;
    } else if (output.empty()) {
      output = arg;
    } else {
      QImage image(QString::fromStdString(arg));
      if (image.isNull()) {
        err << "burrow-dash-apng: cannot read the picture " << arg << "\n";
        return 2;
      }
      frames.push_back({std::move(image), delay});
    }
  }
  if (frames.empty()) {
    err << "burrow-dash-apng: no frames\n" << kUsage;
    return 2;
  }
  QByteArray apng;
  try {
    apng = EncodeApng(frames, loops);
  } catch (const AnimError& error) {
    err << "burrow-dash-apng: " << error.what() << "\n";
    return 2;
  }
  QSaveFile file(QString::fromStdString(output));
  if (!file.open(QIODevice::WriteOnly) || file.write(apng) != apng.size() || !file.commit()) {
    err << "burrow-dash-apng: cannot write " << output << "\n";
    return 1;
  }
  // acTL comes right after IHDR (signature, then 8 + 13 + 4 bytes of IHDR, then acTL's length and type).
  const uint32_t written = ReadU32(apng, kSignatureSize + 25 + 8);
  out << output << ": " << frames.size() << " frames in, " << written << " written, " << apng.size()
      << " bytes\n";
  return 0;
}

}  // namespace bd::anim
