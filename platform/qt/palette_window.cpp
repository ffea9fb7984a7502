#include "platform/qt/palette_window.h"

#include <QCloseEvent>
#include <QPainter>

#include "platform/qt/qt_main_window.h"

namespace bd::platform {

PaletteWindow::PaletteWindow(QtMainWindow& main_window)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      main_window_(main_window) {
  setWindowTitle(QString());
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  // Beside the main window: 54 pixels below its top edge, 40 pixels left of its left edge.
  move(main_window.x() - 40, main_window.y() + 54);
}

void PaletteWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

void PaletteWindow::keyPressEvent(QKeyEvent* event) { main_window_.HandleKeyPress(event, true); }

void PaletteWindow::paintEvent(QPaintEvent*) {
  // The tile pictures come with the sprite sheet; until then the palette is black.
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
}

}  // namespace bd::platform
