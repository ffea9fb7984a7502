// Shows the core's Image1, scaled with sharp pixels on high-density screens.
#pragma once

#include <QImage>
#include <QWidget>

#include "render/surface.h"

namespace bd::platform {

class Image1View : public QWidget {
  Q_OBJECT

 public:
  Image1View(const TSurface& surface, QWidget* parent);
  // The surface as the screen shows it.
  const QImage& Presented();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const TSurface& surface_;
  QImage image_;  // allocated once, refreshed on every paint
};

}  // namespace bd::platform
