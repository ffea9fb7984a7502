#include "platform/qt/surface_images.h"

#include "platform/services.h"

namespace bd::platform {

void LoadSpriteSheet(TSurface& sprite_sheet) {
  const QImage sheet(QString::fromLatin1(kSpriteSheetResource));
  if (sheet.isNull() || !SurfaceFromImage(sheet, sprite_sheet))
    throw PlatformError("The sprite sheet is missing from the program or damaged.");
}

bool SurfaceFromImage(const QImage& image, TSurface& surface) {
  if (image.width() != surface.width() || image.height() != surface.height()) return false;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) surface.data()[y * surface.width() + x] = line[x] & 0x00FFFFFFu;
  }
  return true;
}

QImage SurfaceToImage(const TSurface& surface) {
  QImage image(surface.width(), surface.height(), QImage::Format_RGB32);
  CopySurfaceInto(surface, image);
  return image;
}

void CopySurfaceInto(const TSurface& surface, QImage& rgb32) {
  // The core's pixels leave the top byte zero; Qt's RGB32 wants it all ones.
  for (int y = 0; y < surface.height(); ++y) {
    auto* line = reinterpret_cast<uint32_t*>(rgb32.scanLine(y));
    for (int x = 0; x < surface.width(); ++x) line[x] = surface.pixel(x, y) | 0xFF000000u;
  }
}

bool SaveSurfacePng(const TSurface& surface, const QString& path, int scale) {
  QImage image = SurfaceToImage(surface);
  if (scale > 1) image = image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return image.save(path, "PNG");
}

}  // namespace bd::platform
