// Shows a core surface as it was when the game last invalidated it, so a
// half-drawn frame never reaches the screen. The picture is shown at the
// largest whole multiple of its size that fits the view (at least 1),
// centred on black, with sharp pixels, also on high-density screens. Mouse
// presses and drags on it are reported in the surface's own pixels,
// whatever size the view is shown at.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <optional>

#include "render/surface.h"

namespace bd::platform {

// Where a picture goes in an area: the largest whole multiple of its size
// that fits (at least 1), centred.
QRect PictureRectIn(const QRect& area, QSize picture);

class SurfaceView : public QWidget {
  Q_OBJECT

 public:
  SurfaceView(const TSurface& surface, QWidget* parent);
  // Takes the surface's current picture and schedules a repaint.
  void Refresh();
  // What the screen shows.
  const QImage& Presented() const { return image_; }

  // The surface pixel under a point of the view (logical coordinates), or
  // nothing outside the picture.
  std::optional<QPoint> PixelAt(QPointF position) const;
  // Where the picture lies in the view (logical coordinates).
  QRect PictureRect() const;

 signals:
  void pressed(Qt::MouseButton button, QPoint pixel);
  // The pointer moved over the picture with at least one button held.
  void dragged(Qt::MouseButtons held, QPoint pixel);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  const TSurface& surface_;
  QImage image_;  // allocated once, refreshed in place
};

}  // namespace bd::platform
