#include "platform/qt/command_line.h"

#include <QDir>
#include <QFile>
#include <QScreen>

#include "platform/qt/qt_main_window.h"

namespace bd::platform {
namespace {

ParsedCommandLine Stop(int status, const QString& output) { return {{}, status, output}; }

ParsedCommandLine Refuse(const QString& reason) {
  return Stop(2, "burrow-dash: " + reason + "\n" + UsageText());
}

// "--scale N" or "--scale=N": the value, or nothing when the option is not this one.
std::optional<QString> ValueOf(const QString& option, const QStringList& arguments, qsizetype& k,
                               bool& missing) {
  const QString& argument = arguments[k];
  if (argument.startsWith(option + "=")) return argument.mid(option.size() + 1);
  if (argument != option) return std::nullopt;
  if (k + 1 >= arguments.size()) {
    missing = true;
    return QString();
  }
  return arguments[++k];
}

}  // namespace

const char* ProgramVersion() { return BD_VERSION; }

QString UsageText() {
  return "Usage: burrow-dash [--scale N] [--fullscreen] [FILE.bds | --edit FILE.bds]\n"
         "\n"
         "  FILE.bds        play the six stages of a stage file, as Play Edit does\n"
         "  --edit FILE     open a stage file in the editor, as Open does\n"
         "  --scale N       show each picture pixel as N x N screen pixels (1 to 4, default 1)\n"
         "  --fullscreen    start full screen (F11 switches between full screen and the window)\n"
         "  --help          print this help and exit\n"
         "  --version       print the version and exit\n";
}

ParsedCommandLine ParseCommandLine(const QStringList& arguments) {
  ParsedCommandLine parsed;
  CommandLineOptions& options = parsed.options;
  bool only_files = false;  // after "--"
  bool have_file = false;
  for (qsizetype k = 0; k < arguments.size(); ++k) {
    const QString& argument = arguments[k];
    bool missing = false;
    std::optional<QString> file;
    if (only_files || argument == "-" || !argument.startsWith('-')) {
      file = argument;
    } else if (argument == "--") {
      only_files = true;
      continue;
    } else if (argument == "--help") {
      return Stop(0, UsageText());
    } else if (argument == "--version") {
      return Stop(0, QString("burrow-dash %1\n").arg(ProgramVersion()));
    } else if (argument == "--fullscreen") {
      options.full_screen = true;
      continue;
    } else if (const auto scale = ValueOf("--scale", arguments, k, missing)) {
      if (missing) return Refuse("--scale needs a number from 1 to 4");
      bool number = false;
      const int value = scale->toInt(&number);
      if (!number || value < 1 || value > 4) return Refuse("--scale takes 1 to 4, not '" + *scale + "'");
      options.scale = value;
      continue;
    } else if (const auto edited = ValueOf("--edit", arguments, k, missing)) {
      if (missing) return Refuse("--edit needs a stage file");
      options.edit = true;
      file = edited;
      if (arguments[k] != *edited) parsed.file_offset = arguments[k].size() - edited->size();
    } else {
      ParsedCommandLine refused = Refuse("unknown option '" + argument + "'");
      refused.foreign_option = !argument.startsWith("--");
      return refused;
    }
    if (file->isEmpty()) return Refuse("an empty file name");
    if (have_file) return Refuse("one stage file at most, '" + *file + "' is a second");
    have_file = true;
    options.stage_file = *file;
    parsed.file_argument = k;
  }
  return parsed;
}

void StartFromCommandLine(QtMainWindow& window, const CommandLineOptions& options, std::FILE* notes) {
  const int scale = window.LargestScaleThatFits(options.scale);
  if (scale < options.scale && notes) {
    const QSize screen = window.screen()->size();
    std::fprintf(notes, "--scale %d does not fit this %dx%d screen; using %d\n", options.scale,
                 screen.width(), screen.height(), scale);
  }
  window.SetWindowScale(scale);
  window.Start();
  if (options.full_screen) {
    window.SetFullScreen(true);
  } else {
    window.show();
  }
  if (options.stage_file.isEmpty()) return;
  // The name as the system gave it; absolute, as the file dialogs give it,
  // so that the Save dialog later starts in its folder.
  std::string path = options.stage_file_bytes.empty() ? QFile::encodeName(options.stage_file).toStdString()
                                                      : options.stage_file_bytes;
  while (path.starts_with("./")) path.erase(0, 2);
  if (!path.starts_with('/')) path = QFile::encodeName(QDir::currentPath()).toStdString() + "/" + path;
  TApp& app = window.app();
  window.SetMessageNotes(notes);
  if (options.edit) {
    window.Dispatch([&] {
      app.EditMode();
      app.OpenStageFile(path);
    });
  } else {
    window.Dispatch([&] { app.PlayStageFile(path); });
  }
  window.SetMessageNotes(nullptr);
}

}  // namespace bd::platform
