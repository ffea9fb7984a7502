// The replay tool driving a whole editing session from the title: menu
// clicks, mouse painting, the palette, dialogs answered by the script, stage
// files written and read back, Play Edit and the end of the program.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "tools/replay/replay.h"

namespace bd::replay {
namespace {

namespace fs = std::filesystem;

// ---- script lines and arguments ----

TEST(ReplayEditorScript, NewLinesAreReadInStepOrder) {
  const std::vector<TScriptEvent> expected = {
      {2, TMenuAction{TMenuItemId::EditStage3}},
      {2, TReplyAction{TReplyAction::File, "/tmp/my stages/a.bds"}},
      {2, TKeyAction{true, TScriptKey::F5}},
      {3, TMouseAction{TMouseAction::Down, TMouseButton::Middle, -4, 480}},
      {3, TMouseAction{TMouseAction::Move, TMouseButton::Left, 7, 8}},
      {3, TPaletteAction{TMouseButton::Right, 0, 287}},
      {5, TReplyAction{TReplyAction::Cancel, {}}},
      {5, TMouseAction{TMouseAction::Up, TMouseButton::Right, 1, 2}},
  };
  EXPECT_EQ(ParseScript("5 reply cancel\n3 mouse down middle -4 480\n2 menu stage3 # a comment\n"
                        "2 reply file  /tmp/my stages/a.bds \t\r\n2 down f5\n3 mouse move 7 8\n"
                        "3 palette down right 0 287\n5 mouse up right 1 2"),
            expected);
  std::set<TMenuItemId> items;
  for (const char* name : {"start",  "edit",     "playedit", "title",  "giveup", "pause",  "quit",
                           "open",   "save",     "stage1",   "stage2", "stage3", "stage4", "stage5",
                           "stage6", "testplay", "allclear", "clear",  "music",  "sound"})
    if (const auto item = ScriptMenuItem(name)) items.insert(*item);
  EXPECT_EQ(items.size(), 20u) << "every item name is known and names an item of its own";
}

TEST(ReplayEditorScript, BadLinesNameTheirLineAndExitWith2) {
  for (const std::string bad : {"5 menu",
                                "5 menu Edit",
                                "5 menu edit now",
                                "5 reply",
                                "5 reply yes",
                                "5 reply ok now",
                                "5 reply file",
                                "5 reply file  ",
                                "5 mouse down left 3",
                                "5 mouse down top 1 2",
                                "5 mouse press left 1 2",
                                "5 mouse move 1",
                                "5 mouse move 1 2 3",
                                "5 mouse move x 2",
                                "5 mouse up left 1 2.5",
                                "5 palette down left 1",
                                "5 palette up left 1 2",
                                "5 palette down left 1 y",
                                "5 click",
                                "0 menu edit"}) {
    const std::string script = "1 menu edit\n# comment\n" + bad + "\n";
    try {
      ParseScript(script);
      ADD_FAILURE() << "accepted: " << bad;
    } catch (const UsageError& error) {
      EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos) << bad << ": " << error.what();
    }
  }
  // The planner's scripts hold keys alone.
  EXPECT_THROW(ParseKeyScript("1 menu edit\n"), UsageError);
}

TEST(ReplayEditorScript, TitleAndEditFieldOptions) {
  const TOptions options = ParseArguments({"--title", "--trace", "--edit-field", "--seed", "3"});
  EXPECT_TRUE(options.title && options.edit_field && !options.builtin && !options.file);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--title", "--builtin", "0"}, {"--file", "a.bds", "--title"}, {"--title", "--stage", "1"}}) {
    std::ostringstream out, err;
    EXPECT_EQ(ReplayMain(args, out, err), 2) << args[0] << args[1];
  }
  // The lines scripts outside the project read stay as they were; new ones follow them.
  const std::string kept =
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
      "  --png TICK:PATH  write the screen after step TICK as PNG (repeatable; 0 is the stage start)\n";
  EXPECT_EQ(std::string(kUsage).substr(0, kept.size()), kept);
}

// ---- sessions ----

// The stage grid as the editor shows it: frame, then cells set by (column, row, code).
std::vector<int> Frame(std::initializer_list<std::array<int, 3>> cells = {}) {
  std::vector<int> grid(224, 0);
  for (int i = 0; i < 224; ++i) grid[i] = (i % 16 == 0 || i % 16 == 15 || i >= 208) ? 2 : 0;
  for (const auto& [c, r, code] : cells) grid[16 * r + c] = code;
  return grid;
}

std::string Message(const std::string& text, const std::string& caption, const char* buttons,
                    const char* answer) {
  return R"({"kind":"message","text":")" + text + R"(","caption":")" + caption + R"(","buttons":")" +
         buttons + R"(","answer":")" + answer + "\"}";
}
std::string Dialog(const char* kind, const std::string& file_name, const std::string& answer) {
  return std::string(R"({"kind":")") + kind + R"(","title":")" +
         (kind == std::string("open") ? "Open" : "Save") + R"(","fileName":")" + file_name +
         R"(","answer":")" + answer + "\"}";
}
// A stage file's bytes: six stages, rows 0..12 each `row`, row 13 solid.
std::string FileOfRows(const std::string& row) {
  std::string bytes = "BD";
  for (int k = 0; k < 6; ++k) {
    for (int r = 0; r < 13; ++r) bytes += row;
    bytes += std::string(8, '\x22');
  }
  return bytes;
}

const std::string kDiscard = "Discard the unsaved stages?";

struct TStep {
  std::string line;
  QJsonObject json;
  std::string Get(const char* key) const { return json[key].toVariant().toString().toStdString(); }
  std::vector<int> Cells() const {
    std::vector<int> cells;
    for (const QJsonValue& cell : json["editField"].toArray()) cells.push_back(cell.toInt());
    return cells;
  }
  // "boxes" as written, to compare with Message and Dialog.
  std::string Boxes() const {
    const size_t start = line.find("\"boxes\":") + 8;
    return line.substr(start, line.find("]", start) + 1 - start);
  }
};

class ReplaySession : public ::testing::Test {
 protected:
  ReplaySession()
      : folder(
            fs::path(::testing::TempDir()) /
            ("bd_session_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))) {
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  ~ReplaySession() override { fs::remove_all(folder); }

  std::string Path(const std::string& name) const { return (folder / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  // Runs the script for `ticks` steps from the title (or `start`), tracing the editor's stage.
  std::vector<TStep> Run(const std::string& script, int ticks, std::vector<std::string> start = {"--title"}) {
    for (const char* arg : {"--trace", "--edit-field", "--input"}) start.push_back(arg);
    start.push_back(Write("script.txt", script));
    start.push_back("--ticks");
    start.push_back(std::to_string(ticks));
    std::ostringstream out, err;
    EXPECT_EQ(ReplayMain(start, out, err), 0) << err.str();
    std::vector<TStep> steps;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);)
      steps.push_back({line, QJsonDocument::fromJson(QByteArray::fromStdString(line)).object()});
    EXPECT_EQ(steps.size(), static_cast<size_t>(ticks));
    return steps;
  }

  fs::path folder;
};

TEST_F(ReplaySession, TitleStartTracesTheProgramAroundTheStage) {
  const std::vector<TStep> steps = Run("", 1, {"--title", "--field"});
  const std::vector<std::string> tail = {"music",   "editStage", "selectedTile", "caption", "setFile",
                                         "palette", "closed",    "boxes",        "field",   "editField"};
  const std::string& line = steps[0].line;
  size_t at = 0;
  for (const std::string& key : tail) {
    at = line.find("\"" + key + "\":", at);
    EXPECT_NE(at, std::string::npos) << key << " missing or out of order: " << line;
  }
  EXPECT_EQ(steps[0].Get("mode"), "title");
  EXPECT_EQ(steps[0].Get("caption"), "Burrow Dash");
  EXPECT_EQ(steps[0].Get("setFile"), "*.bds");
  EXPECT_EQ(steps[0].Get("selectedTile"), "1");
  EXPECT_EQ(steps[0].Get("palette") + steps[0].Get("closed") + steps[0].Boxes(), "falsefalse[]");
  EXPECT_EQ(steps[0].Cells(), Frame());
}

TEST_F(ReplaySession, FileStartShowsItsFileAndStage) {
  std::string set = "BD";
  for (int i = 0; i < 672; ++i) set += static_cast<char>(i / 112 == 3 && i % 112 == 9 ? 0x37 : 0x22);
  const std::string path = folder.string() + "//set.bds";  // kept exactly as given
  Write("set.bds", set);
  const std::vector<TStep> steps = Run("2 down escape\n", 2, {"--file", path, "--stage", "3"});
  EXPECT_EQ(steps[0].Get("mode") + steps[0].Get("caption") + steps[0].Get("palette"),
            "testplayBurrow Dash - set.bdsfalse");
  EXPECT_EQ(steps[0].Get("setFile"), path);
  EXPECT_EQ(steps[0].Get("editStage"), "3");
  std::vector<int> solid(224, 2);
  solid[18] = 3;  // byte 9 of the record: row 1, columns 2 and 3
  solid[19] = 7;
  EXPECT_EQ(steps[1].Cells(), solid);
  EXPECT_EQ(steps[1].Get("mode") + steps[1].Get("palette"), "edittrue");
}

TEST_F(ReplaySession, MousePaintsOnlyInteriorCells) {
  // One press a step, each on either side of a bound of the interior.
  const std::vector<TStep> steps =
      Run("1 menu edit\n2 mouse down left 31 100\n3 mouse down left 32 100\n4 mouse down left 480 100\n"
          "5 mouse down left 479 100\n6 mouse down left 100 0\n7 mouse down left 100 1\n"
          "8 mouse down left 100 416\n9 mouse down left 100 415\n10 mouse down right 479 100\n"
          "11 mouse down middle 200 200\n",
          11);
  EXPECT_EQ(steps[1].Cells(), Frame());
  EXPECT_EQ(steps[2].Cells(), Frame({{1, 3, 1}}));
  EXPECT_EQ(steps[3].Cells(), steps[2].Cells());
  EXPECT_EQ(steps[4].Cells(), Frame({{1, 3, 1}, {14, 3, 1}}));
  EXPECT_EQ(steps[5].Cells(), steps[4].Cells());
  EXPECT_EQ(steps[6].Cells(), Frame({{1, 3, 1}, {14, 3, 1}, {3, 0, 1}}));
  EXPECT_EQ(steps[7].Cells(), steps[6].Cells());
  EXPECT_EQ(steps[8].Cells(), Frame({{1, 3, 1}, {14, 3, 1}, {3, 0, 1}, {3, 12, 1}}));
  EXPECT_EQ(steps[9].Cells(), Frame({{1, 3, 1}, {3, 0, 1}, {3, 12, 1}}));
  EXPECT_EQ(steps[10].Cells(), steps[9].Cells());
}

TEST_F(ReplaySession, DragsAndTheBothButtonsRule) {
  const std::vector<TStep> steps =
      Run("1 mouse down left 40 40   # the title: nothing to paint\n1 mouse up left 40 40\n"
          "2 menu edit\n2 palette down left 0 70\n2 mouse down left 104 40\n2 mouse up left 104 40\n"
          "2 palette down left 0 0\n"                                          // (3,1) holds a ladder
          "3 mouse down left 40 40\n3 mouse move 72 40\n3 mouse move 72 72\n"  // (1,1) (2,1) (2,2)
          "4 mouse up left 72 72\n4 mouse move 200 200\n"                      // nothing held
          "5 mouse down right 72 72\n5 mouse move 72 40\n5 mouse up right 72 40\n5 mouse move 40 40\n"
          "6 mouse down middle 200 200\n6 mouse move 232 200\n6 mouse up middle 232 200\n"
          "7 mouse down left 40 40\n7 mouse down right 136 40\n"  // both held; (4,1) was empty
          "8 mouse move 40 40\n9 mouse move 40 40\n10 mouse move 104 40\n11 mouse move 136 40\n",
          11);
  EXPECT_EQ(steps[0].Cells(), Frame());
  EXPECT_EQ(steps[2].Cells(), Frame({{3, 1, 3}, {1, 1, 1}, {2, 1, 1}, {2, 2, 1}}));
  EXPECT_EQ(steps[3].Cells(), steps[2].Cells());
  EXPECT_EQ(steps[4].Cells(), Frame({{3, 1, 3}, {1, 1, 1}}));
  EXPECT_EQ(steps[5].Cells(), steps[4].Cells());
  EXPECT_EQ(steps[6].Cells(), steps[4].Cells());
  EXPECT_EQ(steps[7].Cells(), Frame({{3, 1, 3}}));             // the selected tile is erased
  EXPECT_EQ(steps[8].Cells(), Frame({{3, 1, 3}, {1, 1, 1}}));  // and painted again
  EXPECT_EQ(steps[9].Cells(), Frame({{3, 1, 1}, {1, 1, 1}}));  // another tile gives way
  EXPECT_EQ(steps[10].Cells(), Frame({{3, 1, 1}, {1, 1, 1}, {4, 1, 1}}));
}

TEST_F(ReplaySession, PaletteChoosesByRowWhileShown) {
  const std::vector<int> ys = {31, 32, 287, 288, -1, 100};
  std::string script = "1 palette down left 0 100\n2 menu edit\n";  // hidden at the title
  for (size_t i = 0; i < ys.size(); ++i)
    script += std::to_string(i + 3) + " palette down left 500 " + std::to_string(ys[i]) + "\n";
  script +=
      "9 palette down right 0 0\n10 palette down middle 0 0\n11 menu testplay\n"
      "12 palette down left 0 0\n13 down escape\n14 mouse down left 40 40\n";
  const std::vector<TStep> steps = Run(script, 14);
  std::string tiles;
  for (const TStep& step : steps) tiles += step.Get("selectedTile") + " ";
  EXPECT_EQ(tiles, "1 1 1 2 9 9 9 4 4 4 4 4 4 4 ");
  EXPECT_EQ(steps[13].Cells(), Frame({{1, 1, 4}}));
}

TEST_F(ReplaySession, StageItemsClearAndAllClear) {
  const std::string file = Write("set.bds", FileOfRows(std::string("\x27\0\0\0\0\0\0\x02", 8)));
  const std::vector<TStep> steps =
      Run("1 menu stage4\n2 menu edit\n2 reply file " + file +
              "\n2 menu open\n2 menu stage3\n"
              "3 reply cancel\n3 menu clear\n4 menu clear\n5 reply ok\n5 menu clear\n6 menu stage1\n"
              "7 reply file x\n7 menu allclear\n8 reply ok\n8 menu allclear\n9 menu stage3\n",
          9);
  EXPECT_EQ(steps[0].Get("editStage"), "0");  // the Edit menu is off at the title
  const std::vector<int> loaded = Frame({{1, 0, 7},
                                         {1, 1, 7},
                                         {1, 2, 7},
                                         {1, 3, 7},
                                         {1, 4, 7},
                                         {1, 5, 7},
                                         {1, 6, 7},
                                         {1, 7, 7},
                                         {1, 8, 7},
                                         {1, 9, 7},
                                         {1, 10, 7},
                                         {1, 11, 7},
                                         {1, 12, 7}});
  EXPECT_EQ(steps[1].Cells(), loaded);
  EXPECT_EQ(steps[1].Get("editStage") + steps[1].Get("caption"), "2Burrow Dash - set.bds");
  const std::string clear = "[" + Message("Clear?", "BurrowDash", "okcancel", "cancel") + "]";
  EXPECT_EQ(steps[2].Boxes(), clear);
  EXPECT_EQ(steps[3].Boxes(), clear);
  EXPECT_EQ(steps[3].Cells(), loaded);
  EXPECT_EQ(steps[4].Boxes(), "[" + Message("Clear?", "BurrowDash", "okcancel", "ok") + "]");
  EXPECT_EQ(steps[4].Cells(), Frame());
  EXPECT_EQ(steps[5].Cells(), loaded);  // the other stages stay
  EXPECT_EQ(steps[6].Boxes(), "[" + Message("All Clear?", "BurrowDash", "okcancel", "cancel") + "]");
  EXPECT_EQ(steps[6].Get("caption") + "|" + steps[6].Get("setFile"), "Burrow Dash - set.bds|" + file);
  EXPECT_EQ(steps[7].Get("caption") + "|" + steps[7].Get("setFile") + "|" + steps[7].Get("editStage"),
            "Burrow Dash|*.bds|0");
  EXPECT_EQ(steps[7].Cells(), Frame());
  EXPECT_EQ(steps[8].Cells(), Frame());
}

TEST_F(ReplaySession, SaveAllClearOpenGivesBackEveryByte) {
  const std::string a = Path("a.bds"), b = Path("b.bds");
  const std::vector<TStep> steps =
      Run("1 menu edit\n1 mouse down left 32 1\n1 menu stage6\n1 palette down left 0 200\n"
          "1 mouse down left 479 415\n2 reply file " +
              a + "\n2 menu save\n3 reply file " + a +
              "\n3 menu save\n"
              "4 reply ok\n4 menu allclear\n5 reply ok\n5 reply file " +
              a +
              "\n5 menu open\n"
              "6 reply file " +
              b + "\n6 menu save\n",
          6);
  std::string expected = FileOfRows(std::string("\x20\0\0\0\0\0\0\x02", 8));
  expected[2] = 0x21;                         // stage 1, row 0: columns 0 and 1
  expected[2 + 5 * 112 + 12 * 8 + 7] = 0x72;  // stage 6, row 12: columns 14 and 15
  EXPECT_EQ(Read(a), expected);
  EXPECT_EQ(Read(b), expected);
  EXPECT_EQ(steps[1].Boxes(), "[" + Dialog("save", "*.bds", a) + "]");
  EXPECT_EQ(steps[2].Boxes(), "[" + Dialog("save", a, a) + "]");  // replacing asks nothing more
  EXPECT_EQ(steps[2].Get("caption") + "|" + steps[2].Get("setFile"), "Burrow Dash - a.bds|" + a);
  EXPECT_EQ(steps[4].Boxes(), "[" + Message(kDiscard, "Burrow Dash", "okcancel", "ok") + "," +
                                  Dialog("open", "*.bds", a) + "]");
  EXPECT_EQ(steps[4].Cells(), Frame({{1, 0, 1}}));
}

TEST_F(ReplaySession, FivesInEveryInteriorCellRoundTrip) {
  std::string script = "1 menu edit\n1 palette down left 0 130\n";
  for (int k = 1; k <= 6; ++k) {
    script += "1 menu stage" + std::to_string(k) + "\n1 mouse down left 32 1\n";
    for (int r = 0; r < 13; ++r)
      for (int c = 1; c < 15; ++c)
        script += "1 mouse move " + std::to_string(32 * c) + " " + std::to_string(32 * r + 1) + "\n";
    script += "1 mouse up left 0 0\n";
  }
  script += "2 reply file " + Path("a.bds") + "\n2 menu save\n3 reply ok\n3 menu allclear\n" +
            "4 reply ok\n4 reply ok\n4 menu open\n5 reply ok\n5 reply file " + Path("a.bds") +
            "\n5 menu open\n6 reply file " + Path("b.bds") + "\n6 menu save\n";
  const std::vector<TStep> steps = Run(script, 6);
  const std::string expected = FileOfRows("\x25\x55\x55\x55\x55\x55\x55\x52");
  EXPECT_EQ(Read(Path("a.bds")), expected);
  EXPECT_EQ(Read(Path("b.bds")), expected);
  std::vector<int> fives = Frame();
  for (int& cell : fives) cell = cell == 0 ? 5 : cell;
  // An "ok" is no answer for a file dialog: it cancels it.
  EXPECT_EQ(steps[3].Boxes(), "[" + Message(kDiscard, "Burrow Dash", "okcancel", "ok") + "," +
                                  Dialog("open", "*.bds", "cancel") + "]");
  EXPECT_EQ(steps[3].Cells(), Frame());
  EXPECT_EQ(steps[4].Cells(), fives);
}

// Help's two boxes come from any mode and change nothing; Enter is a second Space.
TEST_F(ReplaySession, HelpListsTheKeysAndEnterConfirmsAsSpaceDoes) {
  const std::vector<TStep> steps = Run(
      "1 menu keys\n2 menu about\n3 down enter\n3 up enter\n4 menu keys\n35 down f5\n60 down enter\n", 60);
  const auto box = [&](int step) { return steps[step].json["boxes"][0]["text"].toString().toStdString(); };
  const std::string keys = box(0);
  for (const char* line :
       {"Z, X: dig a hole", "Space or Enter:", "Button 2 (east): dig to the right", "F1: Title",
        "Alt+P: Play Edit\n", "Ctrl+3: Stage 3", "Ctrl+S: Sound", "5 Trap brick"})
    EXPECT_NE(keys.find(line), std::string::npos) << line << " not in\n" << keys;
  EXPECT_EQ(box(3), keys);
  EXPECT_EQ(box(1).rfind("Burrow Dash ", 0), 0u);
  EXPECT_NE(box(1).find("/opt/burrow-dash/\n"), std::string::npos) << box(1);  // where the sounds are
  EXPECT_EQ(steps[1].Get("mode") + steps[2].Get("mode") + steps[3].Get("timer1"), "titlegametrue");
  EXPECT_EQ(steps[58].Get("lives") + steps[59].Get("lives"), "54");  // Enter after the death
}

TEST_F(ReplaySession, RefusedFilesShowOneErrorBoxAndChangeNothing) {
  const std::string stages = FileOfRows(std::string(8, '\x11')).substr(2);
  fs::create_directories(Path("folder.bds"));
  ASSERT_EQ(mkfifo(Path("fifo.bds").c_str(), 0600), 0);  // with no writer: opening it must not wait
  Write("locked.bds", "BD" + stages);
  fs::permissions(Path("locked.bds"), fs::perms::none);
  std::vector<std::pair<std::string, std::string>> refused = {
      {Write("magic", "XY" + stages), "it does not begin as a stage file does"},
      {Write("lower", "bd" + stages), "it does not begin as a stage file does"},
      {Write("swapped", "DB" + stages), "it does not begin as a stage file does"},
      {Write("0", ""), "it is 0 bytes long where a stage file has 674"},
      {Write("1", "B"), "it is 1 byte long where a stage file has 674"},
      {Write("2", "BD"), "it is 2 bytes long where a stage file has 674"},
      {Write("673", "BD" + stages.substr(1)), "it is 673 bytes long where a stage file has 674"},
      {Path("folder.bds"), "it is a folder"},
      {Path("missing.bds"), "it does not exist"},
      {Path("fifo.bds"), "it is not a regular file"},
      {"/dev/zero", "it is not a regular file"}};
  if (geteuid() != 0) refused.push_back({Path("locked.bds"), "it cannot be read (Permission denied)"});
  for (const auto& [path, reason] : refused) {
    // The OK-only box takes the queued cancel, so the next question gets the ok.
    const std::vector<TStep> steps = Run("1 menu edit\n1 menu stage3\n2 reply file " + path +
                                             "\n2 reply cancel\n2 menu open\n3 reply ok\n3 menu clear\n",
                                         3);
    const std::string text = "Error\\u000aCould not open " + path + ": " + reason;
    EXPECT_EQ(steps[1].Boxes(),
              "[" + Dialog("open", "*.bds", path) + "," + Message(text, "Burrow Dash", "ok", "ok") + "]");
    EXPECT_EQ(steps[2].Boxes(), "[" + Message("Clear?", "BurrowDash", "okcancel", "ok") + "]");
    EXPECT_EQ(steps[1].Get("caption") + "|" + steps[1].Get("setFile") + "|" + steps[1].Get("editStage"),
              "Burrow Dash|*.bds|2")
        << path;
    EXPECT_EQ(steps[1].Cells(), Frame());
  }
  for (const std::string& path :
       {Write("674", "BD" + stages), Write("700", "BD" + stages + std::string(26, 'x'))}) {
    const std::vector<TStep> steps = Run("1 menu edit\n2 reply file " + path + "\n2 menu open\n", 2);
    EXPECT_EQ(steps[1].Boxes(), "[" + Dialog("open", "*.bds", path) + "]");
    EXPECT_EQ(steps[1].Get("caption"), "Burrow Dash - " + fs::path(path).filename().string());
    EXPECT_EQ(steps[1].Cells()[16 * 5 + 7], 1) << path;
  }
  // A backslash is an ordinary character of a name here.
  const std::string slash = Write("back\\slash.bds", "BD" + stages);
  EXPECT_EQ(Run("1 menu edit\n2 reply file " + slash + "\n2 menu open\n", 2)[1].Get("caption"),
            "Burrow Dash - back\\slash.bds");
}

TEST_F(ReplaySession, DiscardQuestionForQuitOpenAndPlayEdit) {
  struct TCase {
    std::string item, reply, boxes;
    bool closed;
  };
  const std::string ask_ok = Message(kDiscard, "Burrow Dash", "okcancel", "ok");
  const std::string ask_cancel = "[" + Message(kDiscard, "Burrow Dash", "okcancel", "cancel") + "]";
  const std::string open = Dialog("open", "*.bds", "cancel");
  for (const TCase& c : std::vector<TCase>{{"quit", "ok", "[" + ask_ok + "]", true},
                                           {"quit", "cancel", ask_cancel, false},
                                           {"open", "ok", "[" + ask_ok + "," + open + "]", false},
                                           {"open", "cancel", ask_cancel, false},
                                           {"playedit", "ok", "[" + ask_ok + "," + open + "]", false},
                                           {"playedit", "cancel", ask_cancel, false}}) {
    const std::string back = c.item == "playedit" ? "2 menu title\n" : "";  // Play Edit is a title item
    const std::vector<TStep> steps = Run(
        "1 menu edit\n1 mouse down left 40 40\n" + back + "2 reply " + c.reply + "\n2 menu " + c.item + "\n",
        2);
    EXPECT_EQ(steps[1].Boxes(), c.boxes) << c.item << " " << c.reply;
    EXPECT_EQ(steps[1].Get("closed"), c.closed ? "true" : "false") << c.item << " " << c.reply;
    // A cell painted and erased again is no change: nothing to ask.
    const std::vector<TStep> unchanged = Run(
        "1 menu edit\n1 mouse down left 40 40\n1 mouse down right 40 40\n" + back + "2 menu " + c.item + "\n",
        2);
    EXPECT_EQ(unchanged[1].Boxes(), c.item == "quit" ? "[]" : "[" + open + "]") << c.item;
  }
}

TEST_F(ReplaySession, AfterQuitNothingActs) {
  const std::vector<TStep> steps = Run("2 menu start\n5 menu quit\n6 menu title\n6 down space\n", 7);
  std::string trace;
  for (const TStep& step : steps)
    trace += step.Get("mode") + step.Get("startDelay") + step.Get("closed") + " ";
  EXPECT_EQ(trace, "title0false game31false game30false game29false game29true game29true game29true ");
  const std::vector<TStep> edit =
      Run("1 menu edit\n2 menu quit\n2 mouse down left 40 40\n3 palette down left 0 100\n3 menu title\n", 3);
  EXPECT_EQ(edit[0].Get("palette"), "true");
  EXPECT_EQ(
      edit[2].Get("palette") + edit[2].Get("closed") + edit[2].Get("selectedTile") + edit[2].Get("mode"),
      "falsetrue1edit");
  EXPECT_EQ(edit[2].Cells(), Frame());
}

TEST_F(ReplaySession, PlayEditRunsSixStagesToGameOver) {
  // Each stage: runner (1,0), gold (2,0), a ladder (3,0) on a brick floor; frame around.
  std::string stages = "BD";
  for (int k = 0; k < 6; ++k)
    stages += std::string("\x29\x73", 2) + std::string(5, '\0') + "\x02" + "\x21" + std::string(6, '\x11') +
              "\x12" + FileOfRows(std::string("\x20\0\0\0\0\0\0\x02", 8)).substr(2 + 16, 112 - 16);
  const std::string file = Write("fast.bds", stages);
  // With the banner a stage started in step s first moves in step s+31, takes the gold in s+34, is
  // on the ladder in s+38 and climbs from s+39 to leave in s+42; Space in s+43 starts the next.
  std::string script = "1 reply file " + file + "\n1 menu playedit\n";
  for (int k = 0, s = 1; k < 6; ++k, s += 43) {
    for (const auto& [t, line] : std::vector<std::pair<int, const char*>>{{s, "down right"},
                                                                          {s + 39, "up right"},
                                                                          {s + 39, "down up"},
                                                                          {s + 43, "up up"},
                                                                          {s + 43, "down space"}})
      script += std::to_string(t) + " " + line + "\n";
  }
  script += "261 down space\n";
  const std::vector<TStep> steps = Run(script, 261);
  EXPECT_EQ(steps[0].Boxes(), "[" + Dialog("open", "*.bds", file) + "]");
  EXPECT_EQ(steps[0].Get("caption") + steps[0].Get("palette"), "Burrow Dash - fast.bdsfalse");
  for (int k = 0, s = 1; k < 6; ++k, s += 43) {
    const TStep& escape = steps[s + 41 - 1];
    const TStep& tally = steps[s + 42 - 1];
    EXPECT_EQ(escape.Get("mode") + escape.Get("stage") + escape.Get("phase"),
              "game" + std::to_string(k) + "escape");
    EXPECT_EQ(tally.Get("phase") + tally.Get("score") + "|" + tally.Get("lives"),
              "tally" + std::to_string(k + 1) + "|" + std::to_string(6 + k));
  }
  EXPECT_EQ(steps[258].Get("mode") + steps[258].Get("score") + steps[258].Get("hiscore"), "gameover66");
  EXPECT_EQ(steps[260].Get("mode") + steps[260].Get("score") + steps[260].Get("hiscore"), "title06");
}

}  // namespace
}  // namespace bd::replay
