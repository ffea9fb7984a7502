// Program entry: the command line, the application, the main window, the message loop.
#include <QApplication>
#include <QMessageBox>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

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

// 1 when the text cannot be written: `burrow-dash --help > /dev/full` fails.
int Print(const bd::platform::ParsedCommandLine& parsed) {
  std::FILE* out = *parsed.exit_status == 0 ? stdout : stderr;
  if (std::fputs(parsed.output.toLocal8Bit().constData(), out) < 0 || std::fflush(out) != 0) {
    std::fprintf(stderr, "burrow-dash: cannot write: %s\n", std::strerror(errno));
    return 1;
  }
  return *parsed.exit_status;
}

// The file name as argv holds it, bytes the shell gave, whatever their encoding.
std::string FileNameBytes(char* argv[], const bd::platform::ParsedCommandLine& parsed) {
  if (parsed.file_argument < 0) return {};
  return std::string(argv[parsed.file_argument + 1] + parsed.file_offset);
}

}  // namespace

int main(int argc, char* argv[]) {
  // A write past a file-size limit fails with its reason instead of ending
  // the program and losing unsaved stages.
  std::signal(SIGXFSZ, SIG_IGN);
  // --help, --version and a wrong command line are answered without a
  // display, since Qt cannot start without one. Qt's own options have a
  // single dash; when the refusal is for one of those it waits until Qt has
  // taken its options out.
  const auto early = bd::platform::ParseCommandLine(ArgumentsOf(argc, argv));
  if (early.exit_status == 0 || (early.exit_status && !early.foreign_option)) return Print(early);

  QApplication application(argc, argv);  // takes its own options out of argv
  QApplication::setApplicationName("Burrow Dash");
  QApplication::setApplicationVersion(bd::platform::ProgramVersion());
  QGuiApplication::setDesktopFileName("burrow-dash");
  auto parsed = bd::platform::ParseCommandLine(ArgumentsOf(argc, argv));
  if (parsed.exit_status) return Print(parsed);
  parsed.options.stage_file_bytes = FileNameBytes(argv, parsed);

  bd::platform::SdlJoystick joystick;  // no device, or no SDL: the game runs without one
  bd::platform::SdlAudio audio;        // after the joystick; no card or no font: the game runs silent
  bd::platform::QtMainWindow window(audio, joystick);
  try {
    bd::platform::StartFromCommandLine(window, parsed.options, stderr);
    return QApplication::exec();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, "Burrow Dash", QString::fromStdString(error.what()));
    return 1;
  }
}
