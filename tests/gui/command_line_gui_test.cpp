// The command line: the parser's table of argument lists, the start-up that
// main() runs with what it parsed (the same function, in this process,
// offscreen), and the real burrow-dash executable's exit statuses.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "editor/stage_file.h"
#include "platform/headless/headless_services.h"
#include "platform/qt/command_line.h"
#include "platform/qt/palette_window.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/surface_view.h"

using namespace bd;
using bd::platform::CommandLineOptions;
using bd::platform::ParseCommandLine;
using bd::platform::QtMainWindow;

Q_DECLARE_METATYPE(CommandLineOptions)

namespace {

CommandLineOptions Options(int scale, bool full_screen, const QString& file = {}, bool edit = false) {
  return {scale, full_screen, file, edit, {}};
}

// Six different stages, each with a runner on a floor and gold beside him.
TEditSet SixStages() {
  TEditSet set{};
  for (int k = 0; k < kEditStageCount; ++k) {
    for (int c = 0; c < kStageColumns; ++c) set[k].at(c, kStageRows - 1) = tcBrick;
    set[k].at(1, kStageRows - 2) = tcRunnerStart;
    set[k].at(2 + k, kStageRows - 2) = tcGold;
  }
  return set;
}

bool WriteStageFile(const QString& path, const TEditSet& set) {
  const auto bytes = StageFileBytes(set);
  QFile file(path);
  return file.open(QIODevice::WriteOnly) &&
         file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())) ==
             static_cast<qsizetype>(bytes.size());
}

struct Run {
  int exit_status = -1;
  QString out, err;
};

QProcessEnvironment OffscreenEnvironment() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  return environment;
}

// No display of any kind: Qt could not start a window.
QProcessEnvironment NoDisplayEnvironment() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) environment.remove(name);
  return environment;
}

Run RunGame(const QStringList& arguments, bool with_display = true) {
  QProcess process;
  process.setProcessEnvironment(with_display ? OffscreenEnvironment() : NoDisplayEnvironment());
  process.start(BD_GAME_EXECUTABLE, arguments);
  if (!process.waitForFinished(20000)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardOutput()),
          QString::fromLocal8Bit(process.readAllStandardError())};
}

}  // namespace

class CommandLineGuiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<platform::HeadlessAudio> audio_;
  std::unique_ptr<platform::HeadlessJoystick> joystick_;
  std::unique_ptr<QtMainWindow> window_;
  QTemporaryDir dir_;
  QString stage_file_;  // SixStages() as set.bds in dir_

  TApp& app() { return window_->app(); }
  // Starts a new window as main() does with these arguments; the error boxes
  // that come up are answered and their texts collected.
  QStringList Start(const QStringList& arguments) {
    const auto parsed = ParseCommandLine(arguments);
    if (parsed.exit_status) {
      qWarning("refused: %s", qPrintable(parsed.output));
      return {"refused"};
    }
    QStringList boxes;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&boxes] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      boxes << box->windowTitle() + ": " + box->text();
      box->accept();
    });
    answer.start(10);
    window_ = std::make_unique<QtMainWindow>(*audio_, *joystick_);
    platform::StartFromCommandLine(*window_, parsed.options);
    answer.stop();
    return boxes;
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    stage_file_ = dir_.filePath("set.bds");
    QVERIFY(WriteStageFile(stage_file_, SixStages()));
  }

  void init() {
    audio_ = std::make_unique<platform::HeadlessAudio>();
    joystick_ = std::make_unique<platform::HeadlessJoystick>();
  }

  void cleanup() { window_.reset(); }

  void argumentsParseOrAreRefused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exit_status");  // -1: the game starts
    QTest::addColumn<CommandLineOptions>("options");
    QTest::addColumn<QString>("output");  // the start of what is printed

    const QString usage = "Usage: burrow-dash";
    const CommandLineOptions none = Options(1, false);
    QTest::newRow("nothing") << QStringList() << -1 << none << QString();
    QTest::newRow("file") << QStringList{"a.bds"} << -1 << Options(1, false, "a.bds") << QString();
    QTest::newRow("edit") << QStringList{"--edit", "a.bds"} << -1 << Options(1, false, "a.bds", true)
                          << QString();
    QTest::newRow("all") << QStringList{"--scale", "3", "--fullscreen", "a.bds"} << -1
                         << Options(3, true, "a.bds") << QString();
    QTest::newRow("options after the file")
        << QStringList{"a.bds", "--scale=4"} << -1 << Options(4, false, "a.bds") << QString();
    QTest::newRow("-- then a file like an option")
        << QStringList{"--", "--scale"} << -1 << Options(1, false, "--scale") << QString();
    QTest::newRow("help") << QStringList{"--help"} << 0 << none << usage;
    QTest::newRow("version") << QStringList{"--version"} << 0 << none
                             << QString("burrow-dash %1\n").arg(BD_VERSION);
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << none
                                    << "burrow-dash: unknown option '--bogus'\n" + usage;
    QTest::newRow("two files") << QStringList{"a.bds", "b.bds"} << 2 << none << "burrow-dash: one stage file";
    QTest::newRow("a file and an edit")
        << QStringList{"a.bds", "--edit", "b.bds"} << 2 << none << "burrow-dash: one stage file";
    QTest::newRow("edit without a file") << QStringList{"--edit"} << 2 << none << "burrow-dash: --edit needs";
    QTest::newRow("scale 0") << QStringList{"--scale", "0"} << 2 << none
                             << "burrow-dash: --scale takes 1 to 4";
    QTest::newRow("scale 5") << QStringList{"--scale=5"} << 2 << none << "burrow-dash: --scale takes 1 to 4";
    QTest::newRow("scale 2.5") << QStringList{"--scale", "2.5"} << 2 << none << "burrow-dash: --scale takes";
    QTest::newRow("scale without a number")
        << QStringList{"--scale"} << 2 << none << "burrow-dash: --scale needs";
    QTest::newRow("a prefix is not the option")
        << QStringList{"--scalex", "2"} << 2 << none << "burrow-dash: unknown option '--scalex'";
  }

  void argumentsParseOrAreRefused() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exit_status);
    QFETCH(CommandLineOptions, options);
    QFETCH(QString, output);
    const auto parsed = ParseCommandLine(arguments);
    QCOMPARE(parsed.exit_status.value_or(-1), exit_status);
    QVERIFY2(parsed.output.startsWith(output), qPrintable(parsed.output));
    if (exit_status == 2) QVERIFY2(parsed.output.contains("\nUsage: burrow-dash"), qPrintable(parsed.output));
    if (exit_status == -1) QVERIFY(parsed.options == options);
  }

  void aFilePlaysItsSixStagesFromTheTitle() {
    QCOMPARE(Start({stage_file_}), QStringList());
    QCOMPARE(app().GameMode, gmGame);
    QVERIFY(app().game.progress().PlayEditSet);
    QCOMPARE(app().game.progress().StageIndex, 0);
    QVERIFY(app().editor.stages() == SixStages());
    QCOMPARE(window_->windowTitle(), QString("Burrow Dash - set.bds"));
    QVERIFY(window_->play_clock().isActive());
    QVERIFY(!window_->ActionFor(TMenuItemId::StartGame)->isEnabled());
    QVERIFY(window_->isVisible());
  }

  void editOpensTheFileInTheEditor() {
    // A name relative to the folder the game is started in.
    const QString started_in = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_.path()));
    const QStringList boxes = Start({"--edit", "set.bds"});
    QDir::setCurrent(started_in);
    QCOMPARE(boxes, QStringList());
    QCOMPARE(app().GameMode, gmEdit);
    QVERIFY(window_->paletteWindow()->isVisible());
    QVERIFY(app().editor.stages() == SixStages());
    QCOMPARE(app().editor.current_stage(), 0);
    QVERIFY(!app().editor.HasUnsavedStages());
    QCOMPARE(QString::fromStdString(app().editor.file_name()), stage_file_);
    QCOMPARE(window_->windowTitle(), QString("Burrow Dash - set.bds"));
  }

  void aBadFileGivesTheErrorBoxAndTheTitleStays() {
    const QString short_file = dir_.filePath("short.bds");
    {
      QFile file(short_file);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("not a stage file");
    }
    const QString refused = "Burrow Dash: Error\nCould not open ";
    const QStringList reasons = {short_file + ": it does not begin as a stage file does",
                                 dir_.filePath("missing.bds") + ": it does not exist"};
    for (const QString& reason : reasons) {
      QCOMPARE(Start({reason.left(reason.indexOf(": "))}), QStringList({refused + reason}));
      QCOMPARE(app().GameMode, gmTitle);
      QVERIFY(!app().game.progress().PlayEditSet);
      QCOMPARE(window_->windowTitle(), QString("Burrow Dash"));
      QVERIFY(window_->ActionFor(TMenuItemId::StartGame)->isEnabled());
      QVERIFY(window_->isVisible());
    }
    // In the editor, the stages stay as start-up left them.
    QCOMPARE(Start({"--edit", short_file}), QStringList({refused + reasons[0]}));
    QCOMPARE(app().GameMode, gmEdit);
    TEditSet cleared;
    ClearAll(cleared);
    QVERIFY(app().editor.stages() == cleared);
    QCOMPARE(window_->windowTitle(), QString("Burrow Dash"));
  }

  void fullScreenOptionReachesTheWindow() {
    QCOMPARE(Start({"--fullscreen", "--scale", "2"}), QStringList());
    QTRY_VERIFY(window_->isFullScreen());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));  // as the player's F11 finds it
    QTest::keyClick(window_->windowHandle(), Qt::Key_F11);
    QTRY_VERIFY(!window_->isFullScreen());
    // The 800x600 offscreen screen has no room for scale 2.
    QCOMPARE(window_->view()->size(),
             QGuiApplication::primaryScreen()->size().height() >= 1000 ? QSize(1024, 896) : QSize(512, 448));
  }

  // The executable offscreen: Qt takes its own options first; with a stage
  // file it keeps running (a refused line or a crash would end it); what it
  // shows then is checked in-process above.
  void theGameExecutableAnswersItsCommandLine() {
    const QString version = QString("burrow-dash %1\n").arg(BD_VERSION);
    QCOMPARE(RunGame({"-platform", "offscreen", "--version"}).out, version);
    const Run help = RunGame({"--help"});
    QCOMPARE(help.exit_status, 0);
    QVERIFY2(help.out.startsWith("Usage: burrow-dash"), qPrintable(help.out));
    for (const bool with_display : {true, false}) {
      for (const QStringList& wrong :
           {QStringList{"--bogus"}, QStringList{"--scale", "9"}, QStringList{"--scale", "-1"}}) {
        const Run run = RunGame(wrong, with_display);
        QCOMPARE(run.exit_status, 2);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.contains("Usage: burrow-dash"), qPrintable(run.err));
      }
    }

    for (const char* option : {"--help", "--version"}) {
      QProcess full;
      full.setStandardOutputFile("/dev/full");
      full.start(BD_GAME_EXECUTABLE, {option});
      QVERIFY(full.waitForFinished() && full.exitCode() == 1);
    }
    // A name that is not UTF-8 opens, a folder says what it is; both keep running.
    const std::string latin1_name = dir_.path().toStdString() + "/set-\xff.bds";
    std::filesystem::copy_file(stage_file_.toStdString(), latin1_name,
                               std::filesystem::copy_options::overwrite_existing);
    const QList<std::pair<QStringList, QString>> runs = {
        {{"--scale", "2", stage_file_}, ""},
        {{"-c", "exec \"$0\" \"$1/$(printf 'set-\\377.bds')\"", BD_GAME_EXECUTABLE, dir_.path()}, ""},
        {{dir_.path()}, "burrow-dash: Could not open " + dir_.path() + ": it is a folder\n"}};
    for (const auto& [arguments, err] : runs) {
      QProcess game;
      game.setProcessEnvironment(OffscreenEnvironment());
      game.start(arguments[0] == "-c" ? "/bin/sh" : BD_GAME_EXECUTABLE, arguments);
      QVERIFY(game.waitForStarted());
      QVERIFY(!game.waitForFinished(1500));
      game.kill();
      game.waitForFinished();
      const QString printed = QString::fromLocal8Bit(game.readAllStandardError());
      QVERIFY2(err.isEmpty() ? !printed.contains("burrow-dash:") : printed.contains(err),
               qPrintable(printed));
    }
    std::filesystem::remove(latin1_name);
  }

  // Run again on screens of 1920 x 1080 and 1280 x 720: --scale 4 gives the
  // largest scale that fits and says so once; the palette stays on screen.
  void scaleIsClampedToTheScreenAndThePaletteStaysOnIt() {
    const QMap<int, int> fitting = {{1080, 2}, {720, 1}};
    const QSize screen = QGuiApplication::primaryScreen()->size();
    if (!fitting.contains(screen.height())) QSKIP("for the 1920x1080 and 1280x720 screens");
    const int expected = fitting[screen.height()];
    QCOMPARE(Start({"--scale", "4", "--edit", stage_file_}), QStringList());
    QCOMPARE(window_->view()->size(), QSize(512, 448) * expected);
    const QRect area = window_->screen()->availableGeometry();
    QVERIFY(area.contains(window_->frameGeometry()));
    platform::PaletteWindow* palette = window_->paletteWindow();
    // Against the screen's left edge there is no room beside it: it overlaps the window.
    window_->Dispatch([this] { app().GoToTitle(); });
    window_->move(area.topLeft());
    window_->Dispatch([this] { app().EditMode(); });
    QTRY_VERIFY(palette->isVisible());
    QVERIFY(area.contains(palette->frameGeometry()));
    QVERIFY(palette->frameGeometry().intersects(window_->frameGeometry()));

    QProcess game;
    game.start(BD_GAME_EXECUTABLE, {"--scale", "4"});  // this test's screen, from QT_QPA_PLATFORM
    QVERIFY(game.waitForStarted());
    QVERIFY(!game.waitForFinished(1500));
    game.kill();
    game.waitForFinished();
    const QString note = QString("--scale 4 does not fit this %1x%2 screen; using %3\n")
                             .arg(screen.width())
                             .arg(screen.height())
                             .arg(expected);
    QCOMPARE(QString::fromLocal8Bit(game.readAllStandardError()).count(note), 1);
  }
};

QTEST_MAIN(CommandLineGuiTest)
#include "command_line_gui_test.moc"
