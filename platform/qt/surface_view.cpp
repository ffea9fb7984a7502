#include "platform/qt/surface_view.h"

#include <QPainter>

namespace bd::platform {

SurfaceView::SurfaceView(const TSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface), image_(surface.width(), surface.height(), QImage::Format_RGB32) {
  setFixedSize(surface.width(), surface.height());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  image_.fill(Qt::black);
}

void SurfaceView::Refresh() {
  // The core's pixels leave the top byte zero; Qt's RGB32 wants it all ones.
  const uint32_t* source = surface_.data();
  for (int y = 0; y < image_.height(); ++y) {
    auto* line = reinterpret_cast<uint32_t*>(image_.scanLine(y));
    for (int x = 0; x < image_.width(); ++x) line[x] = source[y * surface_.width() + x] | 0xFF000000u;
  }
  update();
}

void SurfaceView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(rect(), image_);
}

}  // namespace bd::platform
