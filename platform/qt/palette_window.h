// PaletteWindow, the editor's tile palette: a small stay-on-top window that is only
// ever shown and hidden, never closed. Its keys go to the main window, and the
// main window hears the presses on its picture through view().
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
  // Where it sits, outer edges against the main window's outer edges.
  static constexpr int kLeftOfMainWindow = 40;
  static constexpr int kBelowMainWindowTop = 54;

  // Shows the palette picture as it is now.
  void Refresh();
  // Shows it; in its place beside the main window when that window has moved
  // since it was last placed, else where the player left it.
  void ShowBesideMainWindow();
  SurfaceView* view() const { return view_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void PlaceBesideMainWindow();

  QtMainWindow& main_window_;
  SurfaceView* view_;
  QPoint placed_beside_;  // the main window's position when the palette was placed
};

}  // namespace bd::platform
