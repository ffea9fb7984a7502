// PaletteWindow, the editor's tile palette: a small stay-on-top window that is only
// ever shown and hidden, never closed. Its keys go to the main window, and the
// main window hears the presses on its picture through view().
#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

#include "editor/stage_editor.h"
#include "render/surface.h"

namespace bd::platform {

class QtMainWindow;
class SurfaceView;

// Where the main window shows the screen's picture, as far as the palette
// cares; the palette takes the picture's scale.
struct MainWindowPlace {
  int scale = 1;
  bool full_screen = false;
  QPoint frame_pos;  // in a window: the main window's outer top-left corner
  QRect picture;     // full screen: the picture on the screen
  QRect screen;      // full screen: the screen
};

class PaletteWindow : public QWidget {
  Q_OBJECT

 public:
  PaletteWindow(QtMainWindow& main_window, const TSurface& picture);

  static constexpr int kWidth = kPalettePictureWidth;
  static constexpr int kHeight = kPalettePictureHeight;
  // Where it sits, outer edges against the main window's outer edges.
  static constexpr int kLeftOfMainWindow = 40;
  static constexpr int kBelowMainWindowTop = 54;

  // Shows the palette picture as it is now.
  void Refresh();
  // Shows it; in its place beside the main window when that window has moved
  // since it was last placed, else where the player left it.
  void ShowBesideMainWindow();
  // The main window is about to be at `place` with a new scale, or full
  // screen, or back in its window: the palette takes the picture's scale
  // and, when shown, goes beside it. Given, because a window manager moves
  // the main window some time later.
  void FollowMainWindow(const MainWindowPlace& place);
  SurfaceView* view() const { return view_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  // Where its outer top-left corner goes beside the main window at `place`.
  QPoint PlaceBeside(const MainWindowPlace& place) const;
  void MoveBeside(const MainWindowPlace& place);

  QtMainWindow& main_window_;
  SurfaceView* view_;
  int scale_ = 1;
  QPoint placed_at_;  // where it was last put beside the main window
};

}  // namespace bd::platform
