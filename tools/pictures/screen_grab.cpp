// Saves what the X display shows as PNG: a screenshot of the real window
// running under Xvfb, for reviewing the game as players see it.
//   DISPLAY=:99 burrow-dash-screen-grab OUTPUT.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "cannot grab the screen into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
