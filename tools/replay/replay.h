// burrow-dash-replay: the real core on the headless services, driven by a
// script of key events, one JSON line of state per step and PNG pictures of
// screen at chosen steps. The pieces are here so tests can run them in-process.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/app.h"
#include "platform/headless/headless_services.h"

namespace bd::replay {

// Bad arguments or a bad key script: the tool prints the text and its usage and exits with 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TScriptKey : uint8_t { Left, Up, Right, Down, Z, X, Space, Escape, F5 };

struct TKeyEvent {
  int tick = 0;  // the step it is delivered in, from 1
  bool down = false;
  TScriptKey key = TScriptKey::Left;
  bool operator==(const TKeyEvent&) const = default;
};

struct TPngRequest {
  int tick = 0;  // 0: the picture as the stage started
  std::string path;
};

struct TOptions {
  std::optional<int> builtin;  // stage 0..15 of the built-in set, played as a game
  std::optional<std::string> file;
  int stage = 0;  // stage 0..5 of the file, test-played
  uint32_t seed = 1;
  int ticks = 2000;
  std::optional<std::string> input;
  bool trace = false;
  bool field = false;
  std::vector<TPngRequest> pngs;
};

extern const char* const kUsage;

// The key's name in a script: "left", "z", "f5"...
std::string_view ScriptKeyName(TScriptKey key);

// A script's key event as the player's key would arrive: play keys as key
// presses and releases, F5 as the Give up item's shortcut.
void Deliver(TApp& app, const TKeyEvent& event);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadText(const std::string& path);

// The arguments after the program name; throws UsageError.
TOptions ParseArguments(const std::vector<std::string>& args);

// "TICK down|up KEY" lines, '#' comments, blank lines; throws UsageError naming
// the line. The result is ordered by tick, file order kept within a tick.
std::vector<TKeyEvent> ParseKeyScript(const std::string& text);

// What one step set going: effect names and music calls, in order.
struct TStepReport {
  int tick = 0;
  std::vector<std::string> effects;
  std::vector<std::string> music;
};

// One compact JSON object, without the line end.
std::string TraceJson(const TApp& app, const TStepReport& step, bool with_field);

// Runs the play tick of a step in place of PlayTick: tests use it to look
// at the state the tick sees and to stand in for rules.
using TPlayTick = std::function<void(TApp& app, platform::HeadlessServices& headless, int tick)>;

// Sets the stage up and plays options.ticks steps; events come ordered by
// tick, as ParseKeyScript gives them. Returns the exit status:
// 0 done, 2 a refused stage file, 1 a picture that could not be written or a
// failure of the core. Messages go to err.
int RunReplay(const TOptions& options, const std::vector<TKeyEvent>& events, std::ostream& out,
              std::ostream& err, const TPlayTick& play_tick = {});

// The whole tool: arguments, key script and run.
int ReplayMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace bd::replay
