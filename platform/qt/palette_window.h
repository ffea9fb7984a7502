// PaletteWindow, the editor's tile palette: a small stay-on-top window that is only
// ever shown and hidden, never closed. Its key-downs go to the main window.
#pragma once

#include <QWidget>

#include "render/surface.h"

namespace bd::platform {

class QtMainWindow;
class SurfaceView;

class PaletteWindow : public QWidget {
  Q_OBJECT

 public:
  PaletteWindow(QtMainWindow& main_window, const TSurface& picture);

  static constexpr int kWidth = 32;
  static constexpr int kHeight = 336;

  // Shows the palette picture as it is now.
  void Refresh();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QtMainWindow& main_window_;
  SurfaceView* view_;
};

}  // namespace bd::platform
