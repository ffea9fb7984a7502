#include "platform/qt/surface_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

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

std::optional<QPoint> SurfaceView::PixelAt(QPointF position) const {
  // The picture fills the view, so the ratio of the sizes maps a point back.
  // Positions are logical: a high-density screen keeps the logical size and
  // gives the same pixel as 1x; a view shown N times larger divides by N.
  if (width() <= 0 || height() <= 0) return std::nullopt;
  const double x = std::floor(position.x() * surface_.width() / width());
  const double y = std::floor(position.y() * surface_.height() / height());
  if (x < 0 || y < 0 || x >= surface_.width() || y >= surface_.height()) return std::nullopt;
  return QPoint(static_cast<int>(x), static_cast<int>(y));
}

void SurfaceView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(rect(), image_);
}

void SurfaceView::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (const auto pixel = PixelAt(event->position())) emit pressed(event->button(), *pixel);
}

void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  const Qt::MouseButtons held = event->buttons() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
  if (held == Qt::NoButton) return;
  // The view keeps the pointer while a button is held, so a drag can leave
  // the picture: those points have no pixel and are dropped.
  if (const auto pixel = PixelAt(event->position())) emit dragged(held, *pixel);
}

}  // namespace bd::platform
