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
  QPoint beside = place.frame_pos + QPoint(-gap - width, kBelowMainWindowTop);
  // Full screen: level with the picture.
  if (place.full_screen) beside = {place.picture.left() - gap - width, place.picture.top()};
  // Always on the screen: where the room beside the main window is too
  // narrow, over the main window's edge.
  const QRect area = main_window_.screen()->availableGeometry();
  const QSize frame = QSize(width, kHeight * place.scale) + (frameGeometry().size() - size());
  // An axis the screen is too small for keeps the place beside it.
  const auto inside = [](int at, int low, int length, int room) {
    return length > room ? at : std::clamp(at, low, low + room - length);
  };
  return {inside(beside.x(), area.left(), frame.width(), area.width()),
          inside(beside.y(), area.top(), frame.height(), area.height())};
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
