// Program entry: the command line, the application, the main window, the message loop.
#include <QApplication>
#include <QMessageBox>
#include <algorithm>
#include <cstdio>
#include <exception>

#include "platform/qt/command_line.h"
#include "platform/qt/qt_main_window.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_joystick.h"

namespace {

QStringList ArgumentsOf(int argc, char* argv[]) {
  QStringList arguments;
  for (int k = 1; k < argc; ++k) arguments << QString::fromLocal8Bit(argv[k]);
  return arguments;
}

int Print(const bd::platform::ParsedCommandLine& parsed) {
  std::fputs(parsed.output.toLocal8Bit().constData(), *parsed.exit_status == 0 ? stdout : stderr);
  return *parsed.exit_status;
}

}  // namespace

int main(int argc, char* argv[]) {
  // --help, --version and a wrong command line are answered without a
  // display, since Qt cannot start without one. Qt's own options have a
  // single dash; with one of them present the refusal waits until Qt has
  // taken its options out.
  const QStringList arguments = ArgumentsOf(argc, argv);
  const auto early = bd::platform::ParseCommandLine(arguments);
  const bool qt_options = std::any_of(arguments.begin(), arguments.end(), [](const QString& argument) {
    return argument.size() > 1 && argument[0] == '-' && argument[1] != '-';
  });
  if (early.exit_status == 0 || (early.exit_status && !qt_options)) return Print(early);

  QApplication application(argc, argv);  // takes its own options out of argv
  QApplication::setApplicationName("Burrow Dash");
  QApplication::setApplicationVersion(bd::platform::ProgramVersion());
  QGuiApplication::setDesktopFileName("burrow-dash");
  const auto parsed = bd::platform::ParseCommandLine(ArgumentsOf(argc, argv));
  if (parsed.exit_status) return Print(parsed);

  bd::platform::SdlJoystick joystick;  // no device, or no SDL: the game runs without one
  bd::platform::SdlAudio audio;        // after the joystick; no card or no font: the game runs silent
  bd::platform::QtMainWindow window(audio, joystick);
  try {
    bd::platform::StartFromCommandLine(window, parsed.options);
    return QApplication::exec();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, "Burrow Dash", QString::fromStdString(error.what()));
    return 1;
  }
}
