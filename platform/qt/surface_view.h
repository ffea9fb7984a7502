// Shows a core surface as it was when the game last invalidated it, so a
// half-drawn frame never reaches the screen; scaled with sharp pixels on
// high-density screens.
#pragma once

#include <QImage>
#include <QWidget>

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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const TSurface& surface_;
  QImage image_;  // allocated once, refreshed in place
};

}  // namespace bd::platform
