// The replay tool in-process: its arguments, key scripts, the order of a
// step, the trace's shape and the pictures.
#include "tools/replay/replay.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "editor/stage_file.h"
#include "tests/game_seam.h"

namespace bd::replay {
namespace {

namespace fs = std::filesystem;
using bd::testing::EditGame;

// ---- arguments and key scripts ----

TEST(ReplayArguments, EveryOptionIsRead) {
  const TOptions game = ParseArguments({"--builtin", "15"});
  EXPECT_EQ(game.builtin, 15);
  EXPECT_FALSE(game.file);
  EXPECT_EQ(game.seed, 1u);
  EXPECT_EQ(game.ticks, 2000);
  EXPECT_FALSE(game.trace || game.field || game.input);

  const TOptions test_play = ParseArguments({"--seed", "4294967295", "--file", "a.bds", "--stage", "5",
                                             "--ticks", "0", "--input", "k.txt", "--trace", "--field",
                                             "--png", "0:start.png", "--png", "0:/tmp/with:colon.png"});
  EXPECT_FALSE(test_play.builtin);
  EXPECT_EQ(test_play.file, "a.bds");
  EXPECT_EQ(test_play.stage, 5);
  EXPECT_EQ(test_play.seed, 4294967295u);
  EXPECT_EQ(test_play.ticks, 0);
  EXPECT_EQ(test_play.input, "k.txt");
  EXPECT_TRUE(test_play.trace && test_play.field);
  ASSERT_EQ(test_play.pngs.size(), 2u);
  EXPECT_EQ(test_play.pngs[1].tick, 0);
  EXPECT_EQ(test_play.pngs[1].path, "/tmp/with:colon.png");
  EXPECT_EQ(ParseArguments({"--file", "a.bds"}).stage, 0);
}

TEST(ReplayArguments, BadArgumentsAreRefusedWithTheUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--builtin", "0", "--bogus"},
      {"--builtin"},
      {"--builtin", "0", "--ticks"},
      {"--file", "--trace"},
      {"--builtin", "x"},
      {"--builtin", "16"},
      {"--builtin", "-1"},
      {"--builtin", " 3"},
      {"--builtin", "3", "--builtin", "4"},
      {"--builtin", "0", "--file", "a.bds"},
      {"--stage", "1"},
      {"--builtin", "0", "--stage", "1"},
      {"--file", "a.bds", "--stage", "6"},
      {"--builtin", "0", "--ticks", "-5"},
      {"--builtin", "0", "--ticks", "12abc"},
      {"--builtin", "0", "--seed", "-1"},
      {"--builtin", "0", "--seed", "4294967296"},
      {"--builtin", "0", "--png", "3"},
      {"--builtin", "0", "--png", "x:a.png"},
      {"--builtin", "0", "--png", "3:"},
      {"--builtin", "0", "--ticks", "10", "--png", "11:a.png"},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& arg : args) joined += "[" + arg + "]";
    EXPECT_THROW(ParseArguments(args), UsageError) << joined;
    std::ostringstream out, err;
    EXPECT_EQ(ReplayMain(args, out, err), 2) << joined;
    EXPECT_NE(err.str().find("usage: burrow-dash-replay"), std::string::npos) << joined;
    EXPECT_TRUE(out.str().empty()) << joined;
  }
}

TEST(ReplayKeyScript, EventsCommentsAndBlankLines) {
  const std::string script =
      "# a whole-line comment\n"
      "\n"
      "12 down left   # trailing comment\n"
      "   \t\n"
      "3\tdown\tz\r\n"
      "12 up left\n"
      "3 up z\n"
      "7 down f5#no space before the comment\n"
      "1 down up\n"
      "1 up right\n"
      "2 down down\n"
      "2 down x\n"
      "2 down space\n"
      "2 down escape";  // no line end at the end of the file
  const std::vector<TKeyEvent> expected = {
      {1, true, TScriptKey::Up},    {1, false, TScriptKey::Right}, {2, true, TScriptKey::Down},
      {2, true, TScriptKey::X},     {2, true, TScriptKey::Space},  {2, true, TScriptKey::Escape},
      {3, true, TScriptKey::Z},     {3, false, TScriptKey::Z},     {7, true, TScriptKey::F5},
      {12, true, TScriptKey::Left}, {12, false, TScriptKey::Left},
  };
  EXPECT_EQ(ParseKeyScript(script), expected);
  EXPECT_TRUE(ParseKeyScript("").empty());
  EXPECT_TRUE(ParseKeyScript("# nothing\n\n").empty());
}

TEST(ReplayKeyScript, MalformedLinesNameTheirLineNumber) {
  for (const std::string bad : {"5 down", "5 down left extra", "x down left", "0 down left", "-2 down left",
                                "5 press left", "5 down Left", "5 down f6", "5.5 down left", "down 5 left"}) {
    const std::string script = "1 down left\n# comment\n" + bad + "\n9 up left\n";
    try {
      ParseKeyScript(script);
      ADD_FAILURE() << "accepted: " << bad;
    } catch (const UsageError& error) {
      EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos) << bad << ": " << error.what();
    }
  }
}

// ---- runs ----

struct TStageSpot {
  int column, row;
  uint8_t code;
};

// Frame, a brick floor on row 12, and whatever the test puts on top.
TStageGrid FloorStage(std::initializer_list<TStageSpot> spots) {
  TStageGrid grid;
  ClearToFrame(grid);
  for (int c = 1; c <= 14; ++c) grid.at(c, 12) = tcBrick;
  for (const TStageSpot& spot : spots) grid.at(spot.column, spot.row) = spot.code;
  return grid;
}

struct TRun {
  int status = -1;
  std::string out, err;
  std::vector<std::string> lines;
};

class ReplayRun : public ::testing::Test {
 protected:
  ReplayRun() {
    folder = fs::path(::testing::TempDir()) /
             ("bd_replay_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  ~ReplayRun() override { fs::remove_all(folder); }

  std::string Path(const std::string& name) const { return (folder / name).string(); }

  std::string WriteText(const std::string& name, const std::string& text) {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }

  // Stage k of the file is the given grid, the others the bare frame.
  std::string WriteStageFile(const std::string& name, int k, const TStageGrid& grid) {
    std::string bytes = "BD";
    for (int stage = 0; stage < kEditStageCount; ++stage) {
      TStageGrid framed;
      ClearToFrame(framed);
      const TPackedStage packed = PackStage(stage == k ? grid : framed);
      bytes.append(packed.bytes.begin(), packed.bytes.end());
    }
    return WriteText(name, bytes);
  }

  static TRun Finish(int status, const std::ostringstream& out, const std::ostringstream& err) {
    TRun run{status, out.str(), err.str(), {}};
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
    return run;
  }

  TRun Main(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = ReplayMain(args, out, err);
    return Finish(status, out, err);
  }

  TRun WithTick(const std::vector<std::string>& args, const std::string& script, const TPlayTick& tick) {
    std::ostringstream out, err;
    const int status = RunReplay(ParseArguments(args), ParseKeyScript(script), out, err, tick);
    return Finish(status, out, err);
  }

  static QJsonObject Json(const std::string& line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
    EXPECT_TRUE(document.isObject()) << line;
    return document.object();
  }

  fs::path folder;
};

std::vector<std::string> Strings(const QJsonValue& array) {
  std::vector<std::string> texts;
  for (const QJsonValue& value : array.toArray()) texts.push_back(value.toString().toStdString());
  return texts;
}

// Keys of the outermost object in the order they are written.
std::vector<std::string> TopLevelKeys(const std::string& json) {
  std::vector<std::string> keys;
  int depth = 0;
  for (size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (c == '"') {
      const size_t end = json.find('"', i + 1);
      if (end == std::string::npos) break;
      if (depth == 1 && end + 1 < json.size() && json[end + 1] == ':')
        keys.push_back(json.substr(i + 1, end - i - 1));
      i = end;
    } else if (c == '{' || c == '[') {
      ++depth;
    } else if (c == '}' || c == ']') {
      --depth;
    }
  }
  return keys;
}

TEST_F(ReplayRun, TraceLinesHaveTheirKeysInOrderFromStepOne) {
  const TRun run = Main({"--builtin", "7", "--ticks", "4", "--trace"});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.lines.size(), 4u);
  const std::vector<std::string> keys = {
      "tick", "timer1", "mode", "stage", "phase", "startDelay", "runner", "guards", "holes", "goldCount",
      "goldLeft", "crush", "lives", "score", "hiscore", "effects", "music",
      // the program around the game, added later, after the game's own keys
      "editStage", "selectedTile", "caption", "setFile", "palette", "closed", "boxes"};
  const std::regex runner(R"("runner":\{"x":-?\d+,"y":-?\d+,"frame":-?\d+,"stepX":-?\d+,"stepY":-?\d+,)"
                          R"("idle":-?\d+,"dig":-?\d+,"death":-?\d+\})");
  for (int i = 0; i < 4; ++i) {
    const std::string& line = run.lines[i];
    EXPECT_EQ(TopLevelKeys(line), keys) << line;
    EXPECT_TRUE(std::regex_search(line, runner)) << line;
    const std::string outside_strings = std::regex_replace(line, std::regex(R"("(\\.|[^"\\])*")"), "\"\"");
    EXPECT_EQ(outside_strings.find(' '), std::string::npos) << "not compact: " << line;
    const QJsonObject json = Json(line);
    EXPECT_EQ(json["tick"].toInt(), i + 1);
    EXPECT_EQ(json["mode"].toString(), "game");
    EXPECT_EQ(json["stage"].toInt(), 7);
    EXPECT_EQ(json["lives"].toInt(), 5);
    EXPECT_EQ(json["score"].toInt(), 0);
    EXPECT_TRUE(json["timer1"].toBool());
    EXPECT_TRUE(json["music"].toArray().isEmpty()) << "the stage's music started before step 1";
  }
  EXPECT_FALSE(Json(run.lines[0]).contains("field"));
}

TEST_F(ReplayRun, TestPlayOfAFileStageWithItsGuardsAndField) {
  const TStageGrid stage = FloorStage({{3, 11, tcRunnerStart},
                                       {7, 11, tcGold},
                                       {9, 11, tcGuardStart},
                                       {11, 11, tcGuardStart},
                                       {13, 11, tcGuardStart},
                                       {6, 5, tcBar}});
  const std::string file = WriteStageFile("guards.bds", 4, stage);
  // Without the real tick nothing moves, and an open hole shows the field is printed signed.
  const TRun run = WithTick({"--file", file, "--stage", "4", "--ticks", "1", "--trace", "--field"}, "",
                            [](TApp& app, platform::HeadlessServices&, int) {
                              EditGame(app.game, [](TGameState& s) {
                                s.play.field.Write(5, TPlayField::FieldRowOfStageRow(12), tcHole);
                              });
                            });
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.lines.size(), 1u);
  const QJsonObject json = Json(run.lines[0]);
  EXPECT_EQ(json["mode"].toString(), "testplay");
  EXPECT_EQ(json["stage"].toInt(), 4);
  EXPECT_EQ(json["startDelay"].toInt(), 0);
  EXPECT_EQ(json["goldCount"].toInt(), 1);
  const std::regex guards(R"("guards":\[\{"slot":0,"state":1,"x":288,"y":352,"dx":4,"dy":0,"frame":18\},)"
                          R"(\{"slot":1,"state":1,"x":352,.*\},\{"slot":2,"state":1,"x":416,[^\]]*\}\])");
  EXPECT_TRUE(std::regex_search(run.lines[0], guards)) << run.lines[0];
  EXPECT_EQ(TopLevelKeys(run.lines[0]).back(), "field");

  const QJsonArray field = json["field"].toArray();
  ASSERT_EQ(field.size(), 240);
  TPlayField expected;
  expected.WriteVirtualRow();
  for (int r = 0; r < kStageRows; ++r) {
    for (int c = 0; c < kStageColumns; ++c) {
      const uint8_t code = stage.at(c, r);
      expected.cells[TPlayField::IndexOfStageCell(c, r)] =
          static_cast<int8_t>(code == tcGuardStart || code == tcRunnerStart ? 0 : int{code});
    }
  }
  expected.cells[TPlayField::IndexOfStageCell(5, 12)] = tcHole;
  for (int i = 0; i < kPlayFieldCells; ++i) EXPECT_EQ(field[i].toInt(), expected.cells[i]) << "cell " << i;
}

// What the play tick sees, taken before the real tick runs.
struct TSeen {
  int tick;
  int key_left, key_dig_right, death;
  uint32_t seed;
};

TEST_F(ReplayRun, EventsOfAStepReachTheGameJustBeforeItsTick) {
  const std::string file = WriteStageFile("plain.bds", 2, FloorStage({{3, 11, tcRunnerStart}}));
  const std::string script =
      "3 down left\n"
      "5 up left\n"
      "4 down x\n"
      "4 up x  # pressed and released within one step: the tick never sees it\n"
      "6 up f5   # release alone does nothing\n"
      "7 down f5\n"
      "9 down escape\n"
      "10 down left\n";
  std::vector<TSeen> seen;
  const TRun run = WithTick({"--file", file, "--stage", "2", "--ticks", "12", "--seed", "99", "--trace"},
                            script, [&](TApp& app, platform::HeadlessServices&, int tick) {
                              seen.push_back({tick, app.keys().KeyLeft, app.keys().KeyDigRight,
                                              app.game.play().runner.DeathTicks, app.game.random().seed});
                              app.PlayTick();
                            });
  ASSERT_EQ(run.status, 0) << run.err;
  // Escape in step 9 ends the test play before that step's tick: ticks 1..8 ran.
  ASSERT_EQ(seen.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    const TSeen& s = seen[i];
    SCOPED_TRACE("tick " + std::to_string(s.tick));
    EXPECT_EQ(s.tick, i + 1);
    EXPECT_EQ(s.key_left, s.tick == 3 || s.tick == 4 ? 1 : 0);
    EXPECT_EQ(s.key_dig_right, 0);
    if (s.tick < 7) {
      EXPECT_EQ(s.death, 0);
    } else if (s.tick == 7) {
      EXPECT_EQ(s.death, 1);  // Give up, before the tick plays the death
    }
  }
  EXPECT_EQ(seen[0].seed, 99u);

  ASSERT_EQ(run.lines.size(), 12u);
  EXPECT_EQ(Json(run.lines[7])["mode"].toString(), "testplay");
  const QJsonObject escaped = Json(run.lines[8]);
  EXPECT_EQ(escaped["tick"].toInt(), 9);
  EXPECT_EQ(escaped["mode"].toString(), "edit");
  EXPECT_FALSE(escaped["timer1"].toBool());
  EXPECT_EQ(Strings(escaped["music"]), (std::vector<std::string>{"stop"}));
  EXPECT_TRUE(Json(run.lines[9])["music"].toArray().isEmpty());
}

TEST_F(ReplayRun, EffectsAndMusicAreReportedInTheStepThatStartedThem) {
  // Stands in for the rules: a death that has run its course at step 2, and sounds at step 3.
  const auto tick = [](TApp& app, platform::HeadlessServices& headless, int step) {
    if (step == 2) EditGame(app.game, [&](TGameState& s) { s.play.runner.DeathTicks = 18; });
    if (step == 3) {
      for (const char* wave : {"dig.wav", "other.wav", "KIL.WAV", "take.wav", "dying.wav", "dig.wav"})
        headless.audio.PlayWave(app.ProgramFolder + wave);
    }
  };
  const TRun run = WithTick({"--builtin", "0", "--ticks", "4", "--trace"}, "3 down space\n", tick);
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.lines.size(), 4u);
  // Space in step 3 ends the death: a life less, and the stage and its music start again.
  const QJsonObject step3 = Json(run.lines[2]);
  EXPECT_EQ(step3["lives"].toInt(), 4);
  EXPECT_EQ(Strings(step3["music"]), (std::vector<std::string>{"start mus1.mid"}));
  EXPECT_EQ(Strings(step3["effects"]), (std::vector<std::string>{"dig", "kill", "take", "dying", "dig"}));
  for (int i : {0, 1, 3}) {
    EXPECT_TRUE(Json(run.lines[i])["effects"].toArray().isEmpty()) << i;
    EXPECT_TRUE(Json(run.lines[i])["music"].toArray().isEmpty()) << i;
  }
}

TEST_F(ReplayRun, PicturesOfTheScreenAreWrittenAfterTheirStep) {
  const std::string file = WriteStageFile("plain.bds", 0, FloorStage({{3, 11, tcRunnerStart}}));
  int last_tick = 0;
  const TRun run = WithTick(
      {"--file", file, "--ticks", "3", "--png", "0:" + Path("start.png"), "--png", "2:" + Path("two.png")},
      "", [&](TApp& app, platform::HeadlessServices&, int tick) {
        last_tick = tick;
        // Marks screen per tick so the picture shows which step it was taken after.
        app.screen.data()[0] = 0x010000u * static_cast<uint32_t>(tick);
      });
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(last_tick, 3);
  EXPECT_TRUE(run.out.empty()) << "no trace was asked for";
  const QImage start(QString::fromStdString(Path("start.png")));
  const QImage two(QString::fromStdString(Path("two.png")));
  ASSERT_FALSE(start.isNull());
  ASSERT_FALSE(two.isNull());
  EXPECT_EQ(two.size(), QSize(512, 448));
  EXPECT_EQ(start.size(), QSize(512, 448));
  EXPECT_EQ(qRed(two.pixel(0, 0)), 2);

  const TRun unwritable =
      Main({"--builtin", "0", "--ticks", "1", "--png", "1:" + Path("no/such/folder/x.png")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos);
}

TEST_F(ReplayRun, RefusedOrUnreadableFilesExitWith2) {
  std::string bytes(kStageFileBytes, '\x22');
  bytes[0] = 'D';
  bytes[1] = 'B';
  const std::string swapped = WriteText("swapped.bds", bytes);
  for (const std::string& path : {swapped, Path("missing.bds")}) {
    const TRun run = Main({"--file", path, "--trace"});
    EXPECT_EQ(run.status, 2) << path;
    EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  for (const std::string& script : {Path("missing.txt"), folder.string()}) {
    const TRun run = Main({"--builtin", "0", "--input", script});
    EXPECT_EQ(run.status, 2) << script;
    EXPECT_NE(run.err.find("cannot read"), std::string::npos) << run.err;
  }
  const TRun bad_line =
      Main({"--builtin", "0", "--input", WriteText("keys.txt", "1 down left\n\n2 down q\n")});
  EXPECT_EQ(bad_line.status, 2);
  EXPECT_NE(bad_line.err.find("line 3"), std::string::npos) << bad_line.err;
}

// An attacker's inputs: each is refused or reported at once, never waited on,
// and no save goes through a planted name or leaves a scratch file.
TEST_F(ReplayRun, HostileFilesAreRefusedOrReportedNeverHung) {
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  const std::string huge = WriteText("huge.txt", "");
  fs::resize_file(huge, (size_t{16} << 20) + 1);  // sparse: costs no disk
  for (const auto& [args, reason] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--file", Path("fifo")}, "it is not a regular file"},
           {{"--builtin", "0", "--input", Path("fifo")}, "it is not a regular file"},
           {{"--builtin", "0", "--input", "/dev/zero"}, "it is not a regular file"},
           {{"--builtin", "0", "--input", huge}, "larger than 16 MB"}}) {
    const TRun run = Main(args);
    EXPECT_EQ(run.status, 2) << args[1];
    EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
  }

  // A planted scratch link is not followed; a read-only file and a FIFO are not replaced.
  const std::string target = WriteText("target", "kept"), locked = WriteText("locked.bds", "old");
  fs::create_symlink(target, Path("new.bds.saving"));
  fs::permissions(locked, fs::perms::owner_read);
  std::string script = "1 menu edit\n";
  for (const char* name : {"new.bds", "locked.bds", "fifo"})
    script += "2 reply file " + Path(name) + "\n2 menu save\n";
  const TRun saves = Main({"--title", "--ticks", "2", "--trace", "--input", WriteText("k.txt", script)});
  ASSERT_EQ(saves.status, 0) << saves.err;
  EXPECT_EQ(ReadText(Path("new.bds")).value_or("").size(), kStageFileBytes);
  EXPECT_EQ(ReadText(target).value_or("") + ReadText(locked).value_or(""), "keptold");
  EXPECT_TRUE(fs::is_fifo(Path("fifo")));
  const QJsonArray boxes = Json(saves.lines[1])["boxes"].toArray();
  EXPECT_EQ(boxes[2].toObject()["text"].toString().toStdString(),
            "Could not save " + locked + ": it is read-only");
  EXPECT_EQ(boxes[4].toObject()["text"].toString().toStdString(),
            "Could not save " + Path("fifo") + ": it is not a regular file");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 7) << "a scratch file was left";

  // A name that is not UTF-8 is escaped in the trace, which stays valid JSON.
  fs::copy_file(Path("new.bds"), Path("caf\xe9.bds"));
  const TRun named = Main({"--file", Path("caf\xe9.bds"), "--ticks", "1", "--trace"});
  EXPECT_NE(named.lines.at(0).find("caf\\udce9.bds"), std::string::npos) << named.lines[0];
  EXPECT_FALSE(Json(named.lines[0]).isEmpty());

  // A file-size limit stands in for a full disk: the picture and the trace fail with 1 and the reason.
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const TRun png = Main({"--builtin", "0", "--ticks", "1", "--png", "1:" + Path("big.png")});
  std::ofstream trace_file(Path("trace.txt"));
  std::ostringstream err;
  const int trace_status = ReplayMain({"--builtin", "0", "--ticks", "50", "--trace"}, trace_file, err);
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(png.status, 1);
  EXPECT_NE(png.err.find("File too large"), std::string::npos) << png.err;
  EXPECT_FALSE(fs::exists(Path("big.png")));
  EXPECT_EQ(trace_status, 1);
  EXPECT_NE(err.str().find("File too large"), std::string::npos) << err.str();
  EXPECT_EQ(Main({"--help"}).out, kUsage);
}

// ---- with the play rules (PlayTick) ----

// These need the real play tick: the banner countdown, walking and digging.
class ReplayWithPlayRules : public ReplayRun {};

TEST_F(ReplayWithPlayRules, BannerCountsDownFrom32) {
  const TRun run = Main({"--builtin", "0", "--ticks", "34", "--trace"});
  ASSERT_EQ(run.lines.size(), 34u);
  for (int step = 1; step <= 34; ++step)
    EXPECT_EQ(Json(run.lines[step - 1])["startDelay"].toInt(), std::max(32 - step, 0)) << "step " << step;
}

TEST_F(ReplayWithPlayRules, RunnerWalksInTheStepOfTheKeyAndDigs) {
  const std::string file = WriteStageFile("walk.bds", 1, FloorStage({{5, 11, tcRunnerStart}}));
  const std::string script =
      "3 down left\n4 up left   # one tick of walking, in step 3\n"
      "8 down x\n9 up x\n";
  const TRun run = Main(
      {"--file", file, "--stage", "1", "--ticks", "10", "--trace", "--input", WriteText("keys.txt", script)});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.lines.size(), 10u);
  const auto runner = [&](int step) { return Json(run.lines[step - 1])["runner"].toObject(); };
  EXPECT_EQ(runner(2)["x"].toInt(), 160);
  EXPECT_EQ(runner(3)["x"].toInt(), 152);
  EXPECT_EQ(runner(4)["x"].toInt(), 152);

  // From x = 152 the runner's home cell is column 5, so the brick dug is (6, 12).
  EXPECT_TRUE(Json(run.lines[6])["holes"].toArray().isEmpty());
  const QJsonObject dig = Json(run.lines[7]);
  EXPECT_EQ(Strings(dig["effects"]), (std::vector<std::string>{"dig"}));
  const QJsonArray holes = dig["holes"].toArray();
  ASSERT_EQ(holes.size(), 1);
  EXPECT_EQ(holes[0].toObject()["slot"].toInt(), 0);
  EXPECT_EQ(holes[0].toObject()["col"].toInt(), 6);
  EXPECT_EQ(holes[0].toObject()["row"].toInt(), 12);
  EXPECT_EQ(runner(8)["dig"].toInt(), 10);
  EXPECT_EQ(runner(9)["dig"].toInt(), 9);
  EXPECT_EQ(runner(9)["x"].toInt(), 160);
}

}  // namespace
}  // namespace bd::replay
