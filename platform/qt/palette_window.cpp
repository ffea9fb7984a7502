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
  // Beside the main window: 54 pixels below its top edge, 40 pixels left of its left edge.
  move(main_window.x() - 40, main_window.y() + 54);
}

void PaletteWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

void PaletteWindow::keyPressEvent(QKeyEvent* event) { main_window_.HandleKeyPress(event, true); }

void PaletteWindow::Refresh() { view_->Refresh(); }

}  // namespace bd::platform
