#include "tools/sound/score.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <sstream>
#include <string_view>

namespace bd::sound {
namespace {

constexpr uint32_t kWhole = 4 * kTicksPerQuarter;

// The General MIDI percussion keys the scores use.
const std::map<std::string, int, std::less<>> kDrums = {
    {"kick", 36},     {"kick2", 35},   {"stick", 37},    {"snare", 38},  {"clap", 39},     {"snare2", 40},
    {"floortom", 41}, {"hat", 42},     {"pedalhat", 44}, {"lowtom", 45}, {"ohat", 46},     {"midtom", 47},
    {"hightom", 50},  {"crash", 49},   {"ride", 51},     {"china", 52},  {"bell", 53},     {"tambourine", 54},
    {"splash", 55},   {"cowbell", 56}, {"crash2", 57},   {"shaker", 70}, {"triangle", 81},
};

struct Word {
  std::string text;
  int line = 0;
};
using Words = std::vector<Word>;

struct Phrase {
  Words body;
};

struct TrackSource {
  Track track;
  int line = 0;
  Words body;
};

std::string Quote(std::string_view text) { return "'" + std::string(text) + "'"; }

class ScoreReader {
 public:
  ScoreReader(const std::string& text, std::string source) : source_(std::move(source)) { Split(text); }

  Score Read() {
    ReadTop();
    if (score_.tempos.empty()) score_.tempos.push_back({0, 120});
    if (tracks_.empty()) throw ScoreError(source_ + ": no tracks");
    for (TrackSource& source : tracks_) {
      State state{source.track};
      Play(source.body, 0, source.body.size(), 0, state, 0, source.line);
      ends_.push_back(state.tick);
    }
    CheckEnds();
    std::stable_sort(score_.tempos.begin(), score_.tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    for (TrackSource& source : tracks_) score_.tracks.push_back(std::move(source.track));
    return score_;
  }

 private:
  struct State {
    Track& track;
    uint32_t tick = 0;
    uint32_t length = kTicksPerQuarter;
    int velocity = 90;
    int gate = 100;
  };

  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw ScoreError(source_ + ":" + std::to_string(line) + ": " + what);
  }

  void Split(const std::string& text) {
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
      ++number;
      std::istringstream in(line);
      for (std::string word; in >> word;) {
        if (word[0] == '#') break;
        words_.push_back({word, number});
      }
    }
  }

  uint32_t BarTicks() const { return uint32_t(score_.beats) * (kWhole / uint32_t(score_.beat_unit)); }

  std::string Position(uint32_t tick) const {
    const uint32_t beat = kWhole / uint32_t(score_.beat_unit);
    std::ostringstream out;
    out << "bar " << tick / BarTicks() + 1 << " beat " << double(tick % BarTicks()) / beat + 1;
    return out.str();
  }

  // The number after a keyword; index is the keyword's.
  int Integer(const Words& words, size_t index, size_t stop, int low, int high,
              const std::string& what) const {
    if (index + 1 >= stop) Fail(words[index].line, what + ": expected a number after it");
    const Word& word = words[index + 1];
    int value = 0;
    const char* begin = word.text.data() + (word.text[0] == '+' ? 1 : 0);
    const auto [end, error] = std::from_chars(begin, word.text.data() + word.text.size(), value);
    if (error != std::errc() || end != word.text.data() + word.text.size())
      Fail(word.line, what + ": " + Quote(word.text) + " is not a number");
    if (value < low || value > high)
      Fail(word.line,
           what + " " + word.text + " is outside " + std::to_string(low) + ".." + std::to_string(high));
    return value;
  }

  // Index just past the '}' that closes the '{' at open.
  size_t Closing(const Words& words, size_t open, size_t end) const {
    int depth = 0;
    for (size_t i = open; i < end; ++i) {
      if (words[i].text == "{") ++depth;
      if (words[i].text == "}" && --depth == 0) return i + 1;
    }
    Fail(words[open].line, "'{' is never closed");
  }

  void ReadTop() {
    size_t i = 0;
    while (i < words_.size()) {
      const Word& word = words_[i];
      if (word.text == "name") {
        std::string name;
        for (++i; i < words_.size() && words_[i].line == word.line; ++i)
          name += (name.empty() ? "" : " ") + words_[i].text;
        score_.name = name;
      } else if (word.text == "tempo") {
        score_.tempos.push_back({0, double(Integer(words_, i, words_.size(), 20, 400, "tempo"))});
        i += 2;
      } else if (word.text == "time") {
        ReadTime(i + 1);
        i += 2;
      } else if (word.text == "define") {
        if (i + 2 >= words_.size() || words_[i + 2].text != "{") Fail(word.line, "expected: define NAME {");
        const std::string& name = words_[i + 1].text;
        const size_t end = Closing(words_, i + 2, words_.size());
        if (!phrases_
                 .emplace(name, Phrase{Words(words_.begin() + long(i) + 3, words_.begin() + long(end) - 1)})
                 .second)
          Fail(word.line, "phrase " + Quote(name) + " is defined twice");
        i = end;
      } else if (word.text == "track") {
        i = ReadTrack(i);
      } else {
        Fail(word.line, "unexpected " + Quote(word.text) + " (expected name, tempo, time, define or track)");
      }
    }
  }

  void ReadTime(size_t index) {
    if (index >= words_.size()) Fail(words_.back().line, "time: expected N/D");
    const Word& word = words_[index];
    int beats = 0, unit = 0;
    char slash = 0;
    std::istringstream in(word.text);
    if (!(in >> beats >> slash >> unit) || slash != '/' || beats < 1 || beats > 16 ||
        (unit != 2 && unit != 4 && unit != 8))
      Fail(word.line, "time: expected N/D, like 4/4 or 6/8");
    score_.beats = beats;
    score_.beat_unit = unit;
  }

  // "track NAME channel C program P volume V pan P" on one line; its music runs to the next track or phrase.
  size_t ReadTrack(size_t i) {
    const int line = words_[i].line;
    if (i + 1 >= words_.size() || words_[i + 1].line != line) Fail(line, "a track needs a name");
    TrackSource source;
    source.line = line;
    source.track.name = words_[i + 1].text;
    bool has_channel = false;
    std::vector<Control> start;
    for (i += 2; i < words_.size() && words_[i].line == line; i += 2) {
      const std::string& key = words_[i].text;
      if (key == "channel") {
        source.track.channel = Integer(words_, i, words_.size(), 1, 16, "channel");
        has_channel = true;
      } else if (key == "program") {
        start.push_back({0, ControlKind::kProgram, Integer(words_, i, words_.size(), 1, 128, "program") - 1});
      } else if (key == "volume") {
        start.push_back({0, ControlKind::kVolume, Integer(words_, i, words_.size(), 0, 127, "volume")});
      } else if (key == "pan") {
        start.push_back({0, ControlKind::kPan, Integer(words_, i, words_.size(), 0, 127, "pan")});
      } else {
        Fail(line, "unexpected " + Quote(key) + " in the track line (channel, program, volume, pan)");
      }
    }
    if (!has_channel) Fail(line, "track " + Quote(source.track.name) + " has no channel");
    const bool drums = source.track.channel == kDrumChannel;
    for (const Control& control : start)
      if (drums && control.kind == ControlKind::kProgram) Fail(line, "the drum channel takes no program");
    source.track.controls = start;
    for (const TrackSource& other : tracks_)
      if (other.track.channel == source.track.channel)
        Fail(line, "tracks " + Quote(other.track.name) + " and " + Quote(source.track.name) +
                       " share channel " + std::to_string(source.track.channel));
    for (; i < words_.size() && words_[i].text != "track" && words_[i].text != "define"; ++i)
      source.body.push_back(words_[i]);
    tracks_.push_back(std::move(source));
    return i;
  }

  uint32_t Length(std::string_view text, int line) const {
    uint32_t total = 0;
    for (bool more = true; more;) {
      const size_t tie = text.find('~');
      more = tie != std::string_view::npos;
      const std::string_view part = text.substr(0, tie);
      text = more ? text.substr(tie + 1) : std::string_view();
      uint32_t division = 0;
      const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), division);
      if (error != std::errc() || (division != 1 && division != 2 && division != 4 && division != 8 &&
                                   division != 16 && division != 32))
        Fail(line, "bad length " + Quote(part) + " (1 2 4 8 16 32, with '.', 't' or '~')");
      uint32_t ticks = kWhole / division, added = ticks;
      for (const char* mark = end; mark != part.data() + part.size(); ++mark) {
        if (*mark == '.') {
          added /= 2;
          ticks += added;
        } else if (*mark == 't') {
          ticks = ticks * 2 / 3;
        } else {
          Fail(line, "bad length " + Quote(part));
        }
      }
      total += ticks;
    }
    return total;
  }

  int Key(std::string_view name, bool drums, int transpose, int line) const {
    if (drums) {
      const auto found = kDrums.find(name);
      if (found == kDrums.end()) Fail(line, "unknown drum " + Quote(name));
      return found->second;
    }
    static constexpr int kSteps[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G') {
      if (kDrums.count(name)) Fail(line, "drum " + Quote(name) + " outside the drum channel");
      Fail(line, "bad note name " + Quote(name) + " (like C4, F#3, Bb5)");
    }
    int key = kSteps[name[0] - 'A'];
    size_t at = 1;
    for (; at < name.size() && (name[at] == '#' || name[at] == 'b'); ++at) key += name[at] == '#' ? 1 : -1;
    int octave = 0;
    const auto [end, error] = std::from_chars(name.data() + at, name.data() + name.size(), octave);
    if (at == name.size() || error != std::errc() || end != name.data() + name.size() || octave < -1 ||
        octave > 9)
      Fail(line, "bad note name " + Quote(name) + " (like C4, F#3, Bb5)");
    key += (octave + 1) * 12 + transpose;
    if (key < 0 || key > 127) Fail(line, "note " + Quote(name) + " is out of the MIDI range here");
    return key;
  }

  // A note, drum, rest or chord; advances the track.
  size_t Sound(const Words& words, size_t i, size_t end, int transpose, State& state) const {
    const int line = words[i].line;
    std::vector<std::string_view> names;
    std::string_view last;
    if (words[i].text[0] == '<') {
      for (size_t k = i;; ++k) {
        if (k >= end) Fail(line, "'<' chord is never closed with '>'");
        std::string_view text = words[k].text;
        if (k == i) text.remove_prefix(1);
        const size_t close = text.find('>');
        if (close != std::string_view::npos) {
          if (close > 0) names.push_back(text.substr(0, close));
          last = text.substr(close + 1);
          i = k;
          break;
        }
        if (!text.empty()) names.push_back(text);
      }
      if (names.empty()) Fail(line, "an empty chord");
    } else {
      const std::string_view text = words[i].text;
      names.push_back(text.substr(0, text.find(':')));
      last = text.substr(names.back().size());
    }
    if (!last.empty()) {
      if (last[0] != ':') Fail(line, "unexpected " + Quote(last) + " after a note (':' and a length)");
      state.length = Length(last.substr(1), line);
    }
    const bool drums = state.track.channel == kDrumChannel;
    if (!(names.size() == 1 && names[0] == "r")) {
      const uint32_t sounding = std::max<uint32_t>(1, state.length * uint32_t(state.gate) / 100);
      for (const std::string_view name : names)
        state.track.notes.push_back(
            {state.tick, sounding, Key(name, drums, transpose, line), state.velocity});
    }
    state.tick += state.length;
    return i + 1;
  }

  void Play(const Words& words, size_t begin, size_t end, int base, State& state, int depth, int line) {
    if (depth > 32) Fail(line, "phrases play each other without end");
    int transpose = base;
    for (size_t i = begin; i < end;) {
      const Word& word = words[i];
      const std::string& text = word.text;
      const auto argument = [&](int low, int high) { return Integer(words, i, end, low, high, text); };
      if (text == "|") {
        if (state.tick % BarTicks() != 0) Fail(word.line, "a bar line at " + Position(state.tick));
        ++i;
      } else if (text == "repeat") {
        const int times = argument(1, 64);
        if (i + 2 >= end || words[i + 2].text != "{") Fail(word.line, "expected: repeat N {");
        const size_t after = Closing(words, i + 2, end);
        for (int k = 0; k < times; ++k) Play(words, i + 3, after - 1, transpose, state, depth + 1, word.line);
        i = after;
      } else if (text == "play") {
        if (i + 1 >= end) Fail(word.line, "play: which phrase?");
        const auto found = phrases_.find(words[i + 1].text);
        if (found == phrases_.end()) Fail(word.line, "no phrase called " + Quote(words[i + 1].text));
        Play(found->second.body, 0, found->second.body.size(), transpose, state, depth + 1, word.line);
        i += 2;
      } else if (text == "transpose") {
        transpose = base + argument(-48, 48);
        i += 2;
      } else if (text == "v") {
        state.velocity = argument(1, 127);
        i += 2;
      } else if (text == "gate") {
        state.gate = argument(1, 100);
        i += 2;
      } else if (text == "program" || text == "volume" || text == "pan") {
        const ControlKind kind = text == "program"  ? ControlKind::kProgram
                                 : text == "volume" ? ControlKind::kVolume
                                                    : ControlKind::kPan;
        if (kind == ControlKind::kProgram && state.track.channel == kDrumChannel)
          Fail(word.line, "the drum channel takes no program");
        const int value = kind == ControlKind::kProgram ? argument(1, 128) - 1 : argument(0, 127);
        state.track.controls.push_back({state.tick, kind, value});
        i += 2;
      } else if (text == "tempo") {
        score_.tempos.push_back({state.tick, double(argument(20, 400))});
        i += 2;
      } else if (text == "{" || text == "}") {
        Fail(word.line, text == "{" ? "'{' belongs after repeat N" : "'}' without '{'");
      } else {
        i = Sound(words, i, end, transpose, state);
      }
    }
  }

  void CheckEnds() {
    score_.end = *std::max_element(ends_.begin(), ends_.end());
    for (size_t k = 0; k < tracks_.size(); ++k)
      if (ends_[k] != score_.end)
        Fail(tracks_[k].line, "track " + Quote(tracks_[k].track.name) + " ends at " + Position(ends_[k]) +
                                  ", the longest at " + Position(score_.end));
  }

  std::string source_;
  Words words_;
  std::map<std::string, Phrase> phrases_;
  std::vector<TrackSource> tracks_;
  std::vector<uint32_t> ends_;
  Score score_;
};

struct Event {
  uint32_t tick;
  int order;  // at one tick: notes end, then controls, then notes start
  std::vector<uint8_t> bytes;
};

void PutNumber(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int k = bytes - 1; k >= 0; --k) out.push_back(uint8_t(value >> (8 * k)));
}

void PutVariable(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = uint8_t(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count > 1) out.push_back(uint8_t(groups[--count] | 0x80));
  out.push_back(groups[0]);
}

Event Meta(uint32_t tick, uint8_t type, const std::vector<uint8_t>& data) {
  Event event{tick, 1, {0xFF, type}};
  PutVariable(event.bytes, uint32_t(data.size()));
  event.bytes.insert(event.bytes.end(), data.begin(), data.end());
  return event;
}

Event Text(uint8_t type, const std::string& text) {
  return Meta(0, type, std::vector<uint8_t>(text.begin(), text.end()));
}

void PutChunk(std::vector<uint8_t>& out, std::vector<Event> events, uint32_t end) {
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  events.push_back(Meta(std::max(end, events.empty() ? 0 : events.back().tick), 0x2F, {}));
  std::vector<uint8_t> body;
  uint32_t now = 0;
  for (const Event& event : events) {
    PutVariable(body, event.tick - now);
    now = event.tick;
    body.insert(body.end(), event.bytes.begin(), event.bytes.end());
  }
  out.insert(out.end(), {'M', 'T', 'r', 'k'});
  PutNumber(out, uint32_t(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
}

}  // namespace

Score ParseScore(const std::string& text, const std::string& source) {
  return ScoreReader(text, source).Read();
}

double Seconds(const Score& score) {
  double seconds = 0, bpm = 120;
  uint32_t from = 0;
  for (const TempoChange& change : score.tempos) {
    if (change.tick >= score.end) break;
    seconds += double(change.tick - from) / kTicksPerQuarter * 60 / bpm;
    from = change.tick;
    bpm = change.bpm;
  }
  return seconds + double(score.end - from) / kTicksPerQuarter * 60 / bpm;
}

std::vector<uint8_t> MidiFile(const Score& score) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  PutNumber(out, uint32_t(score.tracks.size() + 1), 2);
  PutNumber(out, kTicksPerQuarter, 2);

  std::vector<Event> conductor;
  if (!score.name.empty()) conductor.push_back(Text(0x03, score.name));
  const uint8_t unit_power = score.beat_unit == 2 ? 1 : score.beat_unit == 4 ? 2 : 3;
  conductor.push_back(Meta(0, 0x58, {uint8_t(score.beats), unit_power, 24, 8}));
  for (const TempoChange& change : score.tempos) {
    const uint32_t micros = uint32_t(60000000.0 / change.bpm + 0.5);
    conductor.push_back(
        Meta(change.tick, 0x51, {uint8_t(micros >> 16), uint8_t(micros >> 8), uint8_t(micros)}));
  }
  PutChunk(out, conductor, score.end);

  for (const Track& track : score.tracks) {
    const uint8_t channel = uint8_t(track.channel - 1);
    std::vector<Event> events = {Text(0x03, track.name)};
    for (const Control& control : track.controls) {
      switch (control.kind) {
        case ControlKind::kProgram:
          events.push_back({control.tick, 1, {uint8_t(0xC0 | channel), uint8_t(control.value)}});
          break;
        case ControlKind::kVolume:
          events.push_back({control.tick, 1, {uint8_t(0xB0 | channel), 7, uint8_t(control.value)}});
          break;
        case ControlKind::kPan:
          events.push_back({control.tick, 1, {uint8_t(0xB0 | channel), 10, uint8_t(control.value)}});
          break;
      }
    }
    for (const Note& note : track.notes) {
      events.push_back({note.tick, 2, {uint8_t(0x90 | channel), uint8_t(note.key), uint8_t(note.velocity)}});
      events.push_back({note.tick + note.length, 0, {uint8_t(0x80 | channel), uint8_t(note.key), 64}});
    }
    PutChunk(out, std::move(events), score.end);
  }
  return out;
}

}  // namespace bd::sound
