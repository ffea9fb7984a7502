#include "platform/qt/palette_window.h"

#include <QCloseEvent>

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
  PlaceBesideMainWindow();
}

void PaletteWindow::PlaceBesideMainWindow() {
  // pos() of a window is its frame's, and move() places the frame.
  placed_beside_ = main_window_.pos();
  move(placed_beside_ + QPoint(-kLeftOfMainWindow, kBelowMainWindowTop));
}

void PaletteWindow::ShowBesideMainWindow() {
  if (main_window_.pos() != placed_beside_) PlaceBesideMainWindow();
  show();
}

void PaletteWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

void PaletteWindow::keyPressEvent(QKeyEvent* event) { main_window_.HandleKeyPress(event, true); }

// Without this a key released over the palette would stay held in the game.
void PaletteWindow::keyReleaseEvent(QKeyEvent* event) { main_window_.HandleKeyRelease(event); }

void PaletteWindow::Refresh() { view_->Refresh(); }

}  // namespace bd::platform
