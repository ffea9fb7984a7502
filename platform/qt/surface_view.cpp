#include "platform/qt/surface_view.h"

#include <QPainter>

#include "platform/qt/surface_images.h"

namespace bd::platform {

SurfaceView::SurfaceView(const TSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface), image_(surface.width(), surface.height(), QImage::Format_RGB32) {
  setFixedSize(surface.width(), surface.height());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  image_.fill(Qt::black);
}

void SurfaceView::Refresh() {
  CopySurfaceInto(surface_, image_);
  update();
}

void SurfaceView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(rect(), image_);
}

}  // namespace bd::platform
