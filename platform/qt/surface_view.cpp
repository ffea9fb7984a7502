#include "platform/qt/surface_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>
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

QRect PictureRectIn(const QRect& area, QSize picture) {
  const int scale = std::max(1, std::min(area.width() / picture.width(), area.height() / picture.height()));
  const QSize size = picture * scale;
  return {area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
          size};
}

QRect SurfaceView::PictureRect() const {
  return PictureRectIn(rect(), {surface_.width(), surface_.height()});
}

std::optional<QPoint> SurfaceView::PixelAt(QPointF position) const {
  // The ratio of the picture's shown size to its own maps a point back.
  // Positions are logical: a high-density screen keeps the logical size and
  // gives the same pixel as 1x; a picture shown N times larger divides by N.
  const QRect picture = PictureRect();
  const double x = std::floor((position.x() - picture.x()) * surface_.width() / picture.width());
  const double y = std::floor((position.y() - picture.y()) * surface_.height() / picture.height());
  if (x < 0 || y < 0 || x >= surface_.width() || y >= surface_.height()) return std::nullopt;
  return QPoint(static_cast<int>(x), static_cast<int>(y));
}

void SurfaceView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QRect picture = PictureRect();
  if (picture != rect()) {
    for (const QRect& border : QRegion(rect()).subtracted(picture)) painter.fillRect(border, Qt::black);
  }
  painter.drawImage(picture, image_);
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
