#include "tools/replay/replay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>
#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <ostream>
#include <string_view>

#include "app/file_name.h"
#include "audio/sound_ids.h"
#include "platform/file_access.h"
#include "platform/qt/surface_images.h"
#include "stage/builtin_stages.h"
#include "tools/replay/scripted_dialogs.h"

namespace bd::replay {

const char* const kUsage =
    "usage: burrow-dash-replay (--builtin N | --file PATH [--stage K]) [--seed S] [--ticks T]\n"
    "                          [--input SCRIPT] [--trace [--field]] [--png TICK:PATH]...\n"
    "  --builtin N      play built-in stage N (0..15) as a game, banner first\n"
    "  --file PATH      read the stage file PATH and test-play its stage K (0..5, default 0)\n"
    "  --seed S         seed of the random generator (default 1)\n"
    "  --ticks T        steps to run (default 2000); step 1 is the first tick after the stage start\n"
    "  --input SCRIPT   key script, one event a line: TICK down|up KEY, KEY one of\n"
    "                   left up right down z x space escape f5; '#' starts a comment\n"
    "  --trace          one JSON line of state after each step\n"
    "  --field          with --trace, also the 240 play-field cells\n"
    "  --png TICK:PATH  write the screen after step TICK as PNG (repeatable; 0 is the stage start)\n"
    "   or: burrow-dash-replay --title [--seed S] [--ticks T] [--input SCRIPT]\n"
    "                          [--trace [--field] [--edit-field]] [--png TICK:PATH]...\n"
    "  --title          start as the program starts, on the title screen; step 1 is the first\n"
    "                   tick after start-up, S the clock's seed, --png 0 the title screen\n"
    "  --edit-field     with --trace, also the 224 cells of the editor's stage editStage\n"
    "  more script lines: TICK menu ITEM, ITEM one of start edit playedit title giveup pause\n"
    "                   quit open save stage1 stage2 stage3 stage4 stage5 stage6 testplay\n"
    "                   allclear clear music sound keys about; TICK reply ok|cancel|file PATH, the answer\n"
    "                   for the next message box or file dialog; TICK mouse down|up BUTTON X Y,\n"
    "                   TICK mouse move X Y on the screen's pixels; TICK palette down BUTTON X Y;\n"
    "                   BUTTON one of left right middle; key enter, the Enter key\n"
    "   or: burrow-dash-replay --help | --version\n"
    "  exit status: 0 every step ran, 2 bad arguments, a bad script or a refused stage file,\n"
    "  1 a picture or the trace that could not be written\n";

namespace {

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

int NumberInRange(const std::string& option, const std::string& text, int low, int high) {
  const auto value = ParseNumber<int>(text);
  if (!value || *value < low || *value > high) {
    throw UsageError(option + " wants a number from " + std::to_string(low) + " to " + std::to_string(high) +
                     ", not '" + text + "'");
  }
  return *value;
}

constexpr int kMaxTicks = 100'000'000;
constexpr size_t kLargestScript = size_t{16} << 20;

TPngRequest ParsePngRequest(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon + 1 == text.size())
    throw UsageError("--png wants TICK:PATH, not '" + text + "'");
  return {NumberInRange("--png", text.substr(0, colon), 0, kMaxTicks), text.substr(colon + 1)};
}

}  // namespace

std::optional<std::string> ReadText(const std::string& path, std::string* reason) {
  std::string why;
  // One more byte than the limit tells a file that is too large.
  const auto bytes = platform::ReadRegularFile(path, kLargestScript + 1, why);
  if (bytes && bytes->size() > kLargestScript) why = "it is larger than 16 MB";
  if (!bytes || bytes->size() > kLargestScript) {
    if (reason) *reason = why;
    return std::nullopt;
  }
  return std::string(bytes->begin(), bytes->end());
}

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

// The sound effects the trace names, by their file.
std::optional<std::string> EffectName(std::string_view wave_path) {
  // The trace's name of each effect, in the order of the sound ids.
  static constexpr std::array<std::string_view, kSoundEffectCount> kTraceNames = {"dig", "dying", "take",
                                                                                  "kill"};
  const std::string_view file = FileNamePart(wave_path);
  for (int effect = 0; effect < kSoundEffectCount; ++effect)
    if (SameIgnoringCase(file, kEffectFiles[effect])) return std::string(kTraceNames[effect]);
  return std::nullopt;
}

std::string MusicCallName(const std::string& call) {
  constexpr std::string_view kStart = "start ";
  if (call.starts_with(kStart))
    return std::string(kStart) + std::string(FileNamePart(call.substr(kStart.size())));
  return call;
}

const char* ModeName(TGameMode mode) {
  switch (mode) {
    case gmTitle: return "title";
    case gmGame: return "game";
    case gmEdit: return "edit";
    case gmTestPlay: return "testplay";
    case gmGameOver: return "gameover";
  }
  return "unknown";
}

const char* PhaseName(TStagePhase phase) {
  switch (phase) {
    case spCollect: return "collect";
    case spEscape: return "escape";
    case spTally: return "tally";
  }
  return "unknown";
}

// The length of the well-formed UTF-8 sequence at text[i], or 0.
size_t Utf8SequenceAt(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  const size_t length = lead >= 0xF0 && lead <= 0xF4  ? 4
                        : lead >= 0xE0                ? 3
                        : lead >= 0xC2 && lead < 0xE0 ? 2
                                                      : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
  const unsigned char second = byte(i + 1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
    return 0;
  return length;
}

// A byte that is not part of UTF-8 (a file name in another encoding) is
// written as the lone surrogate U+DC00 + byte, as Python's surrogateescape
// does, so the trace stays valid JSON and the byte can be told back.
std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    char escaped[8];
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20) {
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(byte));
      json += escaped;
    } else if (byte < 0x80) {
      json += c;
    } else if (const size_t length = Utf8SequenceAt(text, i)) {
      json.append(text.substr(i, length));
      i += length - 1;
    } else {
      std::snprintf(escaped, sizeof escaped, "\\udc%02x", static_cast<unsigned>(byte));
      json += escaped;
    }
  }
  return json + '"';
}

// Members in the order they are added; values are written already as JSON.
class JsonObject {
 public:
  JsonObject& Raw(std::string_view key, std::string_view json) {
    text_ += text_.size() == 1 ? "\"" : ",\"";
    text_ += key;
    text_ += "\":";
    text_ += json;
    return *this;
  }
  JsonObject& Number(std::string_view key, long long number) { return Raw(key, std::to_string(number)); }
  JsonObject& Flag(std::string_view key, bool flag) { return Raw(key, flag ? "true" : "false"); }
  JsonObject& Text(std::string_view key, std::string_view text) { return Raw(key, JsonString(text)); }
  std::string Close() { return text_ + '}'; }

 private:
  std::string text_ = "{";
};

template <typename Items, typename ToJson>
std::string JsonArray(const Items& items, ToJson to_json) {
  std::string json = "[";
  for (const auto& item : items) {
    if (json.size() > 1) json += ',';
    json += to_json(item);
  }
  return json + ']';
}

std::string StringArray(const std::vector<std::string>& texts) { return JsonArray(texts, JsonString); }

std::string BoxJson(const TBoxRecord& box) {
  const std::string answer = box.answer.value_or("cancel");
  if (box.kind == TBoxRecord::Message) {
    return JsonObject()
        .Text("kind", "message")
        .Text("text", box.text)
        .Text("caption", box.caption)
        .Text("buttons", box.ok_cancel ? "okcancel" : "ok")
        .Text("answer", answer)
        .Close();
  }
  return JsonObject()
      .Text("kind", box.kind == TBoxRecord::Open ? "open" : "save")
      .Text("title", box.text)
      .Text("fileName", box.caption)
      .Text("answer", answer)
      .Close();
}

// Every byte is checked: a picture that cannot be written whole (a full
// disk, a file-size limit) is a failure with its reason, and is removed.
bool WritePng(const TSurface& surface, const std::string& path, std::string& reason) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!platform::SurfaceToImage(surface).save(&buffer, "PNG")) {
    reason = "the picture could not be made";
    return false;
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  const char* data = png.constData();
  qsizetype left = png.size();
  int failure = 0;
  while (left > 0 && failure == 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) failure = written < 0 ? errno : EIO;
    if (written > 0) {
      data += written;
      left -= written;
    }
  }
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0) return true;
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) ::unlink(path.c_str());
  reason = std::strerror(failure);
  return false;
}

int TraceFailed(std::ostream& err) {
  err << "burrow-dash-replay: cannot write the output: " << std::strerror(errno) << "\n";
  return 1;
}

void SetHeld(TMouseButtons& held, TMouseButton button, bool down) {
  switch (button) {
    case TMouseButton::Left: held.left = down; break;
    case TMouseButton::Right: held.right = down; break;
    case TMouseButton::Middle: held.middle = down; break;
  }
}

// The person at the desktop: delivers a script's events to the program as
// its window would.
class TScriptedUser {
 public:
  TScriptedUser(TApp& app, const platform::HeadlessWindow& window, TScriptedDialogs& dialogs)
      : app_(app), window_(window), dialogs_(dialogs) {}

  void Deliver(const TScriptEvent& event) {
    if (const auto* key = std::get_if<TKeyAction>(&event.action)) {
      replay::Deliver(app_, TKeyEvent{event.tick, key->down, key->key});
    } else if (const auto* menu = std::get_if<TMenuAction>(&event.action)) {
      app_.RunCommand(menu->item);
    } else if (const auto* reply = std::get_if<TReplyAction>(&event.action)) {
      dialogs_.Queue(*reply);
    } else if (const auto* mouse = std::get_if<TMouseAction>(&event.action)) {
      // The window has no use for a release beyond the buttons a move carries.
      if (mouse->kind == TMouseAction::Move) {
        app_.ScreenMouseMove(held_, mouse->x, mouse->y);
      } else {
        SetHeld(held_, mouse->button, mouse->kind == TMouseAction::Down);
        if (mouse->kind == TMouseAction::Down) app_.ScreenMouseDown(mouse->button, mouse->x, mouse->y);
      }
    } else if (const auto* palette = std::get_if<TPaletteAction>(&event.action)) {
      // A hidden window gets no clicks.
      if (window_.palette_visible) app_.PaletteMouseDown(palette->button, palette->x, palette->y);
    }
  }

 private:
  TApp& app_;
  const platform::HeadlessWindow& window_;
  TScriptedDialogs& dialogs_;
  TMouseButtons held_;
};

}  // namespace

TOptions ParseArguments(const std::vector<std::string>& args) {
  TOptions options;
  std::vector<std::string> seen;
  bool ticks_given = false, stage_given = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    const auto value = [&]() -> const std::string& {
      // "--file --trace" is a forgotten value, not a file named "--trace".
      if (i + 1 >= args.size() || args[i + 1].starts_with("--")) throw UsageError(option + " needs a value");
      if (option != "--png") {
        if (std::find(seen.begin(), seen.end(), option) != seen.end())
          throw UsageError(option + " is given twice");
        seen.push_back(option);
      }
      return args[++i];
    };
    if (option == "--builtin") {
      options.builtin = NumberInRange(option, value(), 0, kBuiltInStageCount - 1);
    } else if (option == "--file") {
      options.file = value();
    } else if (option == "--stage") {
      options.stage = NumberInRange(option, value(), 0, kEditStageCount - 1);
      stage_given = true;
    } else if (option == "--seed") {
      const std::string& text = value();
      const auto seed = ParseNumber<uint32_t>(text);
      if (!seed) throw UsageError("--seed wants a number from 0 to 4294967295, not '" + text + "'");
      options.seed = *seed;
    } else if (option == "--ticks") {
      options.ticks = NumberInRange(option, value(), 0, kMaxTicks);
      ticks_given = true;
    } else if (option == "--input") {
      options.input = value();
    } else if (option == "--png") {
      options.pngs.push_back(ParsePngRequest(value()));
    } else if (option == "--trace") {
      options.trace = true;
    } else if (option == "--field") {
      options.field = true;
    } else if (option == "--title") {
      options.title = true;
    } else if (option == "--edit-field") {
      options.edit_field = true;
    } else {
      throw UsageError("unknown option '" + option + "'");
    }
  }
  if (options.builtin && options.file) throw UsageError("give --builtin or --file, not both");
  if (options.title && (options.builtin || options.file))
    throw UsageError("--title starts at the title screen: give it without --builtin and --file");
  if (!options.builtin && !options.file && !options.title)
    throw UsageError("give --builtin N, --file PATH or --title");
  if (stage_given && !options.file) throw UsageError("--stage goes with --file");
  for (const TPngRequest& png : options.pngs) {
    if (png.tick > options.ticks) {
      throw UsageError("--png " + std::to_string(png.tick) + ":" + png.path + " is past the last step " +
                       std::to_string(options.ticks) + (ticks_given ? "" : " (the default --ticks)"));
    }
  }
  return options;
}

std::string TraceJson(const TApp& app, const TStepReport& step, bool with_field, bool with_edit_field) {
  const TPlayState& play = app.game.play();
  const TRunner& runner = play.runner;

  std::vector<int> guard_slots, hole_slots;
  for (int slot = 0; slot < kListCapacity; ++slot)
    if (play.guards.State[slot] != 0) guard_slots.push_back(slot);
  for (int slot = 0; slot < kHoleSlots; ++slot)
    if (play.holes.timer[slot] != 0) hole_slots.push_back(slot);

  JsonObject json;
  json.Number("tick", step.tick)
      .Flag("timer1", app.PlayClockRunning())
      .Text("mode", ModeName(app.GameMode))
      .Number("stage", app.game.progress().StageIndex)
      .Text("phase", PhaseName(play.phase))
      .Number("startDelay", play.StartDelay)
      .Raw("runner", JsonObject()
                         .Number("x", runner.x)
                         .Number("y", runner.y)
                         .Number("frame", runner.RunnerFrame)
                         .Number("stepX", runner.StepX)
                         .Number("stepY", runner.StepY)
                         .Number("idle", runner.IdleTicks)
                         .Number("dig", runner.DigTicks)
                         .Number("death", runner.DeathTicks)
                         .Close())
      .Raw("guards", JsonArray(guard_slots,
                               [&](int slot) {
                                 const TGuardTable& g = play.guards;
                                 return JsonObject()
                                     .Number("slot", slot)
                                     .Number("state", g.State[slot])
                                     .Number("x", g.X[slot])
                                     .Number("y", g.Y[slot])
                                     .Number("dx", g.DX[slot])
                                     .Number("dy", g.DY[slot])
                                     .Number("frame", g.Frame[slot])
                                     .Close();
                               }))
      .Raw("holes", JsonArray(hole_slots,
                              [&](int slot) {
                                const THoleTable& h = play.holes;
                                return JsonObject()
                                    .Number("slot", slot)
                                    .Number("t", h.timer[slot])
                                    .Number("col", h.column[slot])
                                    .Number("row", h.row[slot])
                                    .Close();
                              }))
      .Number("goldCount", play.gold.count)
      .Number("goldLeft", play.GoldLeft)
      .Number("crush", play.CrushCount)
      .Number("lives", app.game.progress().Lives)
      .Number("score", app.game.progress().Score)
      .Number("hiscore", app.game.progress().HiScore)
      .Raw("effects", StringArray(step.effects))
      .Raw("music", StringArray(step.music));
  if (step.shell) {
    const TShellReport& shell = *step.shell;
    json.Number("editStage", app.editor.current_stage())
        .Number("selectedTile", app.editor.selected_tile())
        .Text("caption", shell.caption)
        .Text("setFile", app.editor.file_name())
        .Flag("palette", shell.palette)
        .Flag("closed", shell.closed)
        .Raw("boxes", JsonArray(shell.boxes, BoxJson));
  }
  if (with_field)
    json.Raw("field", JsonArray(play.field.cells, [](int8_t cell) { return std::to_string(cell); }));
  if (with_edit_field) {
    json.Raw("editField",
             JsonArray(app.editor.shown_stage().cells, [](uint8_t cell) { return std::to_string(cell); }));
  }
  return json.Close();
}

int RunReplay(const TOptions& options, const std::vector<TScriptEvent>& events, std::ostream& out,
              std::ostream& err, const TPlayTick& play_tick) {
  try {
    platform::HeadlessServices headless;
    headless.clock.seed = options.seed;
    TScriptedDialogs dialogs;
    TApp app(platform::Services{headless.window, headless.timers, dialogs, headless.audio, headless.joystick,
                                headless.clock, headless.files});
    TSurface sprite_sheet(kSheetWidth, kSheetHeight);
    platform::LoadSpriteSheet(sprite_sheet);
    app.SetSpriteSheet(sprite_sheet);
    app.Startup();
    app.editor.DrawPalette();  // as the program does when it creates the palette window

    if (options.builtin) {
      app.StartGame(*options.builtin);
    } else if (options.file) {
      if (!app.LoadStageFile(*options.file)) {
        // The box's line after "Error" names the file and the reason.
        const std::string& text = dialogs.Records().back().text;
        err << "burrow-dash-replay: " << text.substr(text.find('\n') + 1) << "\n";
        return 2;
      }
      app.EditMode();
      app.SelectEditStage(options.stage);
      app.TestPlay();
    }

    const auto write_pictures = [&](int tick) {
      for (const TPngRequest& png : options.pngs) {
        if (png.tick != tick) continue;
        std::string reason;
        if (!WritePng(app.screen, png.path, reason)) {
          err << "burrow-dash-replay: cannot write " << png.path << ": " << reason << "\n";
          return false;
        }
      }
      return true;
    };
    if (!write_pictures(0)) return 1;

    TScriptedUser user(app, headless.window, dialogs);
    // Once the main window has closed the program is gone: nothing acts any more.
    const auto closed = [&] { return headless.window.close_requested; };
    auto next_event = events.begin();

    for (int tick = 1; tick <= options.ticks; ++tick) {
      const size_t waves_before = headless.audio.waves.size();
      const size_t music_before = headless.audio.music_calls.size();
      const size_t boxes_before = dialogs.Records().size();
      for (; next_event != events.end() && next_event->tick <= tick; ++next_event)
        if (next_event->tick == tick && !closed()) user.Deliver(*next_event);
      if (app.PlayClockRunning() && !closed()) {
        if (play_tick) {
          play_tick(app, headless, tick);
        } else {
          app.PlayTick();
        }
      }
      if (options.trace) {
        TStepReport report{tick, {}, {}, {}};
        for (size_t i = waves_before; i < headless.audio.waves.size(); ++i)
          if (auto effect = EffectName(headless.audio.waves[i])) report.effects.push_back(*effect);
        for (size_t i = music_before; i < headless.audio.music_calls.size(); ++i)
          report.music.push_back(MusicCallName(headless.audio.music_calls[i]));
        const auto& records = dialogs.Records();
        // The palette window goes with the main window.
        report.shell =
            TShellReport{headless.window.caption, headless.window.palette_visible && !closed(), closed(),
                         std::vector<TBoxRecord>(records.begin() + boxes_before, records.end())};
        out << TraceJson(app, report, options.field, options.edit_field) << '\n';
        if (!out) return TraceFailed(err);
      }
      if (!write_pictures(tick)) return 1;
    }
    if (!out.flush()) return TraceFailed(err);
    return 0;
  } catch (const std::exception& error) {
    err << "burrow-dash-replay: " << error.what() << "\n";
    return 1;
  }
}

int RunReplay(const TOptions& options, const std::vector<TKeyEvent>& events, std::ostream& out,
              std::ostream& err, const TPlayTick& play_tick) {
  std::vector<TScriptEvent> script;
  script.reserve(events.size());
  for (const TKeyEvent& event : events) {
    TScriptEvent& converted = script.emplace_back();
    converted.tick = event.tick;
    converted.action.emplace<TKeyAction>(event.down, event.key);
  }
  return RunReplay(options, script, out, err, play_tick);
}

int ReplayMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto given = [&](const char* option) {
    return std::find(args.begin(), args.end(), option) != args.end();
  };
  if (given("--help") || given("--version")) {
    out << (given("--help") ? std::string(kUsage) : std::string("burrow-dash-replay ") + BD_VERSION + "\n");
    return out.flush() ? 0 : TraceFailed(err);
  }
  TOptions options;
  std::vector<TScriptEvent> events;
  try {
    options = ParseArguments(args);
    if (options.input) {
      std::string reason;
      const auto script = ReadText(*options.input, &reason);
      if (!script) throw UsageError("cannot read the key script " + *options.input + ": " + reason);
      events = ParseScript(*script);
    }
  } catch (const UsageError& error) {
    err << "burrow-dash-replay: " << error.what() << "\n" << kUsage;
    return 2;
  }
  return RunReplay(options, events, out, err);
}

}  // namespace bd::replay
