// The game's command line: what to start with (a stage file to play or to
// edit, the window scale, full screen), or what to print before stopping.
// Qt's own options (-platform and the like) are taken out of argv by
// QApplication first; the parser sees the rest.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>
#include <string>

namespace bd::platform {

class QtMainWindow;

struct CommandLineOptions {
  int scale = 1;  // the window scale, 1 to 4
  bool full_screen = false;
  QString stage_file;  // empty: none
  bool edit = false;   // open stage_file in the editor instead of playing it
  // stage_file as the system's bytes, which a name that is not UTF-8 needs;
  // main() takes it from argv. Empty: stage_file encoded as Qt encodes names.
  std::string stage_file_bytes;

  bool operator==(const CommandLineOptions&) const = default;
};

struct ParsedCommandLine {
  CommandLineOptions options;
  // Set when the program prints `output` and stops instead of starting: 0
  // for --help and --version (printed on stdout), 2 for a wrong command
  // line (the reason and the usage, printed on stderr).
  std::optional<int> exit_status;
  QString output;
  // Refused for an option with one dash, which may be one of Qt's.
  bool foreign_option = false;
  // Where the stage file is: its argument's index, and where the name starts in it.
  qsizetype file_argument = -1;
  qsizetype file_offset = 0;
};

// The program's version, from the CMake project.
const char* ProgramVersion();
QString UsageText();

// `arguments` without the program's name.
ParsedCommandLine ParseCommandLine(const QStringList& arguments);

// What main() does once the window exists: the window scale (the largest up
// to the one asked for that fits the screen, said on `notes` when smaller),
// start-up, the window shown (full screen or not), then the stage file played
// as Play Edit plays it or opened in the editor as Open opens it. A file that
// cannot be read gives the game's own error box, its reason also on `notes`,
// and leaves the game where it was.
void StartFromCommandLine(QtMainWindow& window, const CommandLineOptions& options,
                          std::FILE* notes = nullptr);

}  // namespace bd::platform
