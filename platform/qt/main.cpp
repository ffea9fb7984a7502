// Program entry: the application, the main window, the message loop.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "platform/qt/qt_main_window.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_joystick.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Burrow Dash");
  QGuiApplication::setDesktopFileName("burrow-dash");

  bd::platform::SdlJoystick joystick;  // no device, or no SDL: the game runs without one
  bd::platform::SdlAudio audio;        // after the joystick; no card or no font: the game runs silent
  bd::platform::QtMainWindow window(audio, joystick);
  try {
    window.Start();
    window.show();
    return QApplication::exec();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, "Burrow Dash", QString::fromStdString(error.what()));
    return 1;
  }
}
