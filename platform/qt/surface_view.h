// Shows a core surface as it was when the game last invalidated it, so a
// half-drawn frame never reaches the screen; scaled with sharp pixels on
// high-density screens. Mouse presses and drags on it are reported in the
// surface's own pixels, whatever size the view is shown at.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <optional>

#include "render/surface.h"

namespace bd::platform {

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
