#include "platform/qt/palette_window.h"

#include <QCloseEvent>
#include <algorithm>

#include "platform/qt/qt_main_window.h"
#include "platform/qt/surface_view.h"

namespace bd::platform {

PaletteWindow::PaletteWindow(QtMainWindow& main_window, const TSurface& picture)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      main_window_(main_window),
      view_(new SurfaceView(picture, this)) {
  setWindowTitle(QString());
  setFixedSize(kWidth, kHeight);
  setFocusPolicy(Qt::StrongFocus);
  MoveBeside(main_window_.Place());
}

QPoint PaletteWindow::PlaceBeside(const MainWindowPlace& place) const {
  // A larger palette keeps the right edge a 1x palette has.
  const int gap = kLeftOfMainWindow - kWidth;
  const int width = kWidth * place.scale;
  // pos() of a window is its frame's, and move() places the frame.
  if (!place.full_screen) return place.frame_pos + QPoint(-gap - width, kBelowMainWindowTop);
  // Full screen: level with the picture, on the screen even where the black
  // border beside the picture is too narrow for it.
  return {std::max(place.screen.left(), place.picture.left() - gap - width), place.picture.top()};
}

void PaletteWindow::MoveBeside(const MainWindowPlace& place) {
  placed_at_ = PlaceBeside(place);
  move(placed_at_);
}

void PaletteWindow::ShowBesideMainWindow() {
  const MainWindowPlace place = main_window_.Place();
  if (PlaceBeside(place) != placed_at_) MoveBeside(place);
  show();
}

void PaletteWindow::FollowMainWindow(const MainWindowPlace& place) {
  if (place.scale != scale_) {
    scale_ = place.scale;
    view_->setFixedSize(QSize(kWidth, kHeight) * scale_);
    setFixedSize(QSize(kWidth, kHeight) * scale_);
  }
  if (isVisible()) MoveBeside(place);
}

void PaletteWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

void PaletteWindow::keyPressEvent(QKeyEvent* event) { main_window_.HandleKeyPress(event, true); }

// Without this a key released over the palette would stay held in the game.
void PaletteWindow::keyReleaseEvent(QKeyEvent* event) { main_window_.HandleKeyRelease(event); }

void PaletteWindow::Refresh() { view_->Refresh(); }

}  // namespace bd::platform
