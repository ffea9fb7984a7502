// Scripts: key lines, and the menu, reply, mouse and palette lines that
// drive a whole editing session.
#include <algorithm>
#include <charconv>
#include <sstream>
#include <utility>

#include "tools/replay/replay.h"

namespace bd::replay {
namespace {

struct TKeyName {
  std::string_view name;
  TScriptKey key;
  uint16_t virtual_key;  // 0 for f5, which is a menu shortcut rather than a game key
};

constexpr TKeyName kKeyNames[] = {
    {"left", TScriptKey::Left, vkLeft},
    {"up", TScriptKey::Up, vkUp},
    {"right", TScriptKey::Right, vkRight},
    {"down", TScriptKey::Down, vkDown},
    {"z", TScriptKey::Z, vkZ},
    {"x", TScriptKey::X, vkX},
    {"space", TScriptKey::Space, vkSpace},
    {"escape", TScriptKey::Escape, vkEscape},
    {"f5", TScriptKey::F5, 0},
    {"enter", TScriptKey::Enter, vkReturn},
};

constexpr std::pair<std::string_view, TMouseButton> kButtonNames[] = {
    {"left", TMouseButton::Left}, {"right", TMouseButton::Right}, {"middle", TMouseButton::Middle}};

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\n'; }

struct TWord {
  std::string text;
  size_t start;  // where it starts in its line
};

std::vector<TWord> Words(const std::string& line) {
  std::vector<TWord> words;
  for (size_t i = 0; i < line.size();) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    words.push_back({line.substr(start, i - start), start});
  }
  return words;
}

class TLineParser {
 public:
  TLineParser(int number, const std::string& line, std::vector<TWord> words)
      : number_(number), line_(line), words_(std::move(words)) {}

  TScriptEvent Parse(bool keys_only) {
    const std::string kind = words_.size() > 1 ? words_[1].text : "";
    if (keys_only || kind == "down" || kind == "up") return KeyLine();
    const int tick = Tick();
    if (kind == "menu") return {tick, MenuLine()};
    if (kind == "reply") return {tick, ReplyLine()};
    if (kind == "mouse") return {tick, MouseLine()};
    if (kind == "palette") return {tick, PaletteLine()};
    throw Bad("'" + kind + "' is none of down, up, menu, reply, mouse, palette");
  }

 private:
  UsageError Bad(const std::string& why) const {
    return UsageError("key script line " + std::to_string(number_) + ": " + why);
  }

  void Expect(size_t count, const std::string& form) const {
    if (words_.size() != count) throw Bad("expected '" + form + "'");
  }

  int Tick() const {
    const auto tick = ParseInt(words_[0].text);
    if (!tick || *tick < 1) throw Bad("'" + words_[0].text + "' is not a step number (steps count from 1)");
    return *tick;
  }

  TScriptEvent KeyLine() const {
    Expect(3, "TICK down KEY' or 'TICK up KEY");
    const int tick = Tick();
    const std::string& kind = words_[1].text;
    if (kind != "down" && kind != "up") throw Bad("'" + kind + "' is neither down nor up");
    const auto name = std::find_if(std::begin(kKeyNames), std::end(kKeyNames),
                                   [&](const TKeyName& key) { return key.name == words_[2].text; });
    if (name == std::end(kKeyNames)) throw Bad("unknown key '" + words_[2].text + "'");
    return {tick, TKeyAction{kind == "down", name->key}};
  }

  TMenuAction MenuLine() const {
    Expect(3, "TICK menu ITEM");
    const auto item = ScriptMenuItem(words_[2].text);
    if (!item) throw Bad("unknown menu item '" + words_[2].text + "'");
    return {*item};
  }

  TReplyAction ReplyLine() const {
    const std::string answer = words_.size() > 2 ? words_[2].text : "";
    if (answer == "ok" || answer == "cancel") {
      Expect(3, "TICK reply " + answer);
      return {answer == "ok" ? TReplyAction::Ok : TReplyAction::Cancel, {}};
    }
    if (answer != "file")
      throw Bad("expected 'TICK reply ok', 'TICK reply cancel' or 'TICK reply file PATH'");
    if (words_.size() < 4) throw Bad("'reply file' wants a PATH");
    // The rest of the line is the path, inner blanks and all.
    std::string path = line_.substr(words_[3].start);
    while (IsBlank(path.back())) path.pop_back();
    return {TReplyAction::File, path};
  }

  TMouseAction MouseLine() const {
    const std::string action = words_.size() > 2 ? words_[2].text : "";
    if (action == "move") {
      Expect(5, "TICK mouse move X Y");
      return {TMouseAction::Move, TMouseButton::Left, Pixel(3), Pixel(4)};
    }
    if (action != "down" && action != "up")
      throw Bad("expected 'TICK mouse down|up BUTTON X Y' or 'TICK mouse move X Y'");
    Expect(6, "TICK mouse " + action + " BUTTON X Y");
    return {action == "down" ? TMouseAction::Down : TMouseAction::Up, Button(3), Pixel(4), Pixel(5)};
  }

  TPaletteAction PaletteLine() const {
    if (words_.size() < 3 || words_[2].text != "down") throw Bad("expected 'TICK palette down BUTTON X Y'");
    Expect(6, "TICK palette down BUTTON X Y");
    return {Button(3), Pixel(4), Pixel(5)};
  }

  TMouseButton Button(size_t index) const {
    for (const auto& [name, button] : kButtonNames)
      if (name == words_[index].text) return button;
    throw Bad("'" + words_[index].text + "' is not a mouse button (left, right or middle)");
  }

  int Pixel(size_t index) const {
    const auto value = ParseInt(words_[index].text);
    if (!value) throw Bad("'" + words_[index].text + "' is not a pixel coordinate");
    return *value;
  }

  int number_;
  const std::string& line_;
  std::vector<TWord> words_;
};

std::vector<TScriptEvent> ParseLines(const std::string& text, bool keys_only) {
  std::vector<TScriptEvent> events;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (const auto comment = line.find('#'); comment != std::string::npos) line.erase(comment);
    std::vector<TWord> words = Words(line);
    if (words.empty()) continue;
    events.push_back(TLineParser(number, line, std::move(words)).Parse(keys_only));
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const TScriptEvent& a, const TScriptEvent& b) { return a.tick < b.tick; });
  return events;
}

}  // namespace

std::string_view ScriptKeyName(TScriptKey key) {
  for (const TKeyName& name : kKeyNames)
    if (name.key == key) return name.name;
  return "?";
}

std::optional<TMenuItemId> ScriptMenuItem(std::string_view name) {
  static const TMainMenu menu;  // its table of names; the states are not read
  return menu.FindScriptName(name);
}

uint16_t VirtualKeyOf(TScriptKey key) {
  for (const TKeyName& name : kKeyNames)
    if (name.key == key) return name.virtual_key;
  return 0;
}

void Deliver(TApp& app, const TKeyEvent& event) {
  if (event.key == TScriptKey::F5) {
    if (event.down) app.RunCommand(TMenuItemId::GiveUp);  // Give up; its shortcut acts on press only
    return;
  }
  if (event.down) {
    app.KeyDown(VirtualKeyOf(event.key));
  } else {
    app.KeyUp(VirtualKeyOf(event.key));
  }
}

std::vector<TKeyEvent> ParseKeyScript(const std::string& text) {
  std::vector<TKeyEvent> keys;
  for (const TScriptEvent& event : ParseLines(text, true)) {
    const TKeyAction& key = std::get<TKeyAction>(event.action);
    keys.push_back({event.tick, key.down, key.key});
  }
  return keys;
}

std::vector<TScriptEvent> ParseScript(const std::string& text) { return ParseLines(text, false); }

}  // namespace bd::replay
