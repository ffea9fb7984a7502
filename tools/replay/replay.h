// burrow-dash-replay: the real core on the headless services, driven by a
// script of key, menu, mouse and dialog events, one JSON line of state per
// step and PNG pictures of screen at chosen steps. The pieces are here so
// tests can run them in-process.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/app.h"
#include "platform/headless/headless_services.h"

namespace bd::replay {

// Bad arguments or a bad key script: the tool prints the text and its usage and exits with 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TScriptKey : uint8_t { Left, Up, Right, Down, Z, X, Space, Escape, F5, Enter };

// The virtual key a script key stands for; 0 for f5, a menu shortcut.
uint16_t VirtualKeyOf(TScriptKey key);

struct TKeyEvent {
  int tick = 0;  // the step it is delivered in, from 1
  bool down = false;
  TScriptKey key = TScriptKey::Left;
  bool operator==(const TKeyEvent&) const = default;
};

// The other lines of a script. A key line becomes a TKeyAction.
struct TKeyAction {
  bool down = false;
  TScriptKey key = TScriptKey::Left;
  bool operator==(const TKeyAction&) const = default;
};

// A click on a menu item.
struct TMenuAction {
  TMenuItemId item = TMenuItemId::StartGame;
  bool operator==(const TMenuAction&) const = default;
};

// The answer for the next message box or file dialog.
struct TReplyAction {
  enum TKind : uint8_t { Ok, Cancel, File } kind = Ok;
  std::string path;  // File only, exactly as written
  bool operator==(const TReplyAction&) const = default;
};

// The main picture's mouse, in picture pixels; button is not used by a move.
struct TMouseAction {
  enum TKind : uint8_t { Down, Up, Move } kind = Down;
  TMouseButton button = TMouseButton::Left;
  int x = 0, y = 0;
  bool operator==(const TMouseAction&) const = default;
};

// A press on the palette picture.
struct TPaletteAction {
  TMouseButton button = TMouseButton::Left;
  int x = 0, y = 0;
  bool operator==(const TPaletteAction&) const = default;
};

struct TScriptEvent {
  int tick = 0;  // the step it is delivered in, from 1
  std::variant<TKeyAction, TMenuAction, TReplyAction, TMouseAction, TPaletteAction> action;
  bool operator==(const TScriptEvent&) const = default;
};

struct TPngRequest {
  int tick = 0;  // 0: the picture as the stage started
  std::string path;
};

struct TOptions {
  std::optional<int> builtin;  // stage 0..15 of the built-in set, played as a game
  std::optional<std::string> file;
  int stage = 0;       // stage 0..5 of the file, test-played
  bool title = false;  // the program as it starts: the title screen
  uint32_t seed = 1;
  int ticks = 2000;
  std::optional<std::string> input;
  bool trace = false;
  bool field = false;
  bool edit_field = false;
  std::vector<TPngRequest> pngs;
};

extern const char* const kUsage;

// The key's name in a script: "left", "z", "f5"...
std::string_view ScriptKeyName(TScriptKey key);

// The menu item a script names ("start", "stage3", "allclear"...), if any.
std::optional<TMenuItemId> ScriptMenuItem(std::string_view name);

// A script's key event as the player's key would arrive: play keys as key
// presses and releases, F5 as the Give up item's shortcut.
void Deliver(TApp& app, const TKeyEvent& event);

// The whole of a regular file up to 16 MB, or nothing, with the reason in
// *reason when given, when it is missing, not a regular file, unreadable or larger.
std::optional<std::string> ReadText(const std::string& path, std::string* reason = nullptr);

// The arguments after the program name; throws UsageError.
TOptions ParseArguments(const std::vector<std::string>& args);

// "TICK down|up KEY" lines, '#' comments, blank lines; throws UsageError naming
// the line. The result is ordered by tick, file order kept within a tick.
std::vector<TKeyEvent> ParseKeyScript(const std::string& text);

// Key lines and the menu, reply, mouse and palette lines; otherwise as
// ParseKeyScript.
std::vector<TScriptEvent> ParseScript(const std::string& text);

// A message box or file dialog as the step met it.
struct TBoxRecord {
  enum TKind : uint8_t { Message, Open, Save } kind = Message;
  std::string text;     // Message: its text; Open, Save: the dialog's title
  std::string caption;  // Message: its caption; Open, Save: the file name it opened with
  bool ok_cancel = false;
  std::optional<std::string> answer;  // Message: "ok" or nothing; Open, Save: the path or nothing
  bool operator==(const TBoxRecord&) const = default;
};

// The program around the stage: what the window and the dialogs show.
struct TShellReport {
  std::string caption;
  bool palette = false;
  bool closed = false;
  std::vector<TBoxRecord> boxes;  // of this step, in order
};

// What one step set going: effect names and music calls, in order; and,
// except in --builtin runs, the program around the stage.
struct TStepReport {
  int tick = 0;
  std::vector<std::string> effects;
  std::vector<std::string> music;
  std::optional<TShellReport> shell;
};

// One compact JSON object, without the line end. The shell's keys follow
// "music"; "field" and then "editField" come last.
std::string TraceJson(const TApp& app, const TStepReport& step, bool with_field,
                      bool with_edit_field = false);

// Runs the play tick of a step in place of PlayTick: tests use it to look
// at the state the tick sees and to stand in for rules.
using TPlayTick = std::function<void(TApp& app, platform::HeadlessServices& headless, int tick)>;

// Sets the stage up (or starts at the title) and plays options.ticks steps;
// events come ordered by tick, as ParseScript gives them. Returns the exit
// status: 0 done, 2 a refused stage file, 1 a picture that could not be
// written or a failure of the core. Messages go to err.
int RunReplay(const TOptions& options, const std::vector<TScriptEvent>& events, std::ostream& out,
              std::ostream& err, const TPlayTick& play_tick = {});
int RunReplay(const TOptions& options, const std::vector<TKeyEvent>& events, std::ostream& out,
              std::ostream& err, const TPlayTick& play_tick = {});

// The whole tool: arguments, script and run.
int ReplayMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace bd::replay
