// The real Qt window, offscreen: its size, its menu bar, and keys going
// through Qt's own key and shortcut handling into the core.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "platform/headless/headless_services.h"
#include "platform/qt/palette_window.h"
#include "platform/qt/qt_main_window.h"
#include "render/sprite_sheet.h"

using namespace bd;
using bd::platform::QtMainWindow;

namespace {

struct ExpectedItem {
  const char* text;  // "-" for a separator
  const char* shortcut;
};

struct ExpectedMenu {
  const char* title;
  std::vector<ExpectedItem> items;
};

// The menu bar a player sees, written out independently of the core's table.
const std::vector<ExpectedMenu> kMenuBar = {
    {"&File",
     {{"&Title", "F1"},
      {"&Give up", "F5"},
      {"&Pause", "Ctrl+P"},
      {"-", ""},
      {"&Start Game", "Alt+S"},
      {"&Edit Mode", "Alt+E"},
      {"&Play Edit...", "Alt+P"},
      {"-", ""},
      {"&Quit", "Ctrl+Q"}}},
    {"&Edit",
     {{"&Open...", "F3"},
      {"&Save...", "F2"},
      {"-", ""},
      {"S&tage", ""},
      {"&Test Play", "F4"},
      {"-", ""},
      {"&All Clear", ""},
      {"&Clear", ""}}},
    {"&Option", {{"&Music", "Ctrl+M"}, {"&Sound", "Ctrl+S"}}},
};

}  // namespace

class MainWindowGuiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<platform::HeadlessAudio> audio_;
  std::unique_ptr<platform::HeadlessJoystick> joystick_;
  std::unique_ptr<QtMainWindow> window_;

  TApp& app() { return window_->app(); }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window_->windowHandle(), static_cast<Qt::Key>(key), modifiers);
  }

 private slots:
  void init() {
    audio_ = std::make_unique<platform::HeadlessAudio>();
    joystick_ = std::make_unique<platform::HeadlessJoystick>();
    window_ = std::make_unique<QtMainWindow>(*audio_, *joystick_);
    window_->Start();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }

  void cleanup() { window_.reset(); }

  void windowHasAFixedClientAreaAndNoMaximiseBox() {
    QCOMPARE(window_->centralWidget()->size(), QSize(512, 448));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QVERIFY(!window_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(window_->windowTitle(), QString("Burrow Dash"));
    QVERIFY(window_->joystick_poll().isActive());
    QCOMPARE(window_->joystick_poll().interval(), 24);
    QCOMPARE(window_->joystick_poll().timerType(), Qt::PreciseTimer);
    QVERIFY(!window_->play_clock().isActive());
  }

  void menuBarHoldsEveryItemWithItsCaptionAndShortcut() {
    const QList<QAction*> menus = window_->menuBar()->actions();
    QCOMPARE(menus.size(), static_cast<qsizetype>(kMenuBar.size()));
    for (size_t m = 0; m < kMenuBar.size(); ++m) {
      QCOMPARE(menus[m]->text(), QString(kMenuBar[m].title));
      const QList<QAction*> items = menus[m]->menu()->actions();
      QCOMPARE(items.size(), static_cast<qsizetype>(kMenuBar[m].items.size()));
      for (qsizetype i = 0; i < items.size(); ++i) {
        const ExpectedItem& expected = kMenuBar[m].items[i];
        if (QString(expected.text) == "-") {
          QVERIFY2(items[i]->isSeparator(), expected.text);
          continue;
        }
        QCOMPARE(items[i]->text(), QString(expected.text));
        QCOMPARE(items[i]->shortcut().toString(QKeySequence::PortableText), QString(expected.shortcut));
      }
    }
    QMenu* stage = window_->MenuFor(TMenuItemId::StageMenu);
    const QList<QAction*> stages = stage->actions();
    QCOMPARE(stages.size(), 6);
    for (int k = 0; k < 6; ++k) {
      QCOMPARE(stages[k]->text(), QString("&%1").arg(k + 1));
      QCOMPARE(stages[k]->shortcut().toString(QKeySequence::PortableText), QString("Ctrl+%1").arg(k + 1));
      QVERIFY(stages[k]->actionGroup() && stages[k]->actionGroup()->isExclusive());
      QCOMPARE(stages[k]->isChecked(), k == 0);
    }
    QVERIFY(window_->ActionFor(TMenuItemId::ToggleMusic)->isChecked());
    QVERIFY(window_->ActionFor(TMenuItemId::ToggleSound)->isChecked());
    QVERIFY(!window_->MenuFor(TMenuItemId::EditMenu)->menuAction()->isEnabled());
  }

  void shortcutsActThroughTheWindow() {
    Key(Qt::Key_S, Qt::AltModifier);
    QCOMPARE(app().GameMode, gmGame);
    QVERIFY(window_->play_clock().isActive());
    Key(Qt::Key_P, Qt::ControlModifier);
    QVERIFY(app().Paused());
    QVERIFY(window_->ActionFor(TMenuItemId::Pause)->isChecked());
    QVERIFY(!window_->play_clock().isActive());
    Key(Qt::Key_P, Qt::ControlModifier);
    QVERIFY(!app().Paused());
    QVERIFY(window_->play_clock().isActive());
    Key(Qt::Key_F1);
    QCOMPARE(app().GameMode, gmTitle);
    QVERIFY(!window_->play_clock().isActive());
    QVERIFY(window_->ActionFor(TMenuItemId::StartGame)->isEnabled());
  }

  void editMenuShortcutsAreDeadOutsideTheEditor() {
    for (int key : {int(Qt::Key_F2), int(Qt::Key_F3), int(Qt::Key_F4)}) Key(key);
    Key(Qt::Key_1, Qt::ControlModifier);
    Key(Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(app().GameMode, gmTitle);
    QCOMPARE(app().editor.current_stage, 0);

    // Alt+E is Edit Mode where that can act, not an ambiguous pair with the Edit menu.
    Key(Qt::Key_E, Qt::AltModifier);
    QCOMPARE(app().GameMode, gmEdit);
    QVERIFY(window_->paletteWindow()->isVisible());
    Key(Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(app().editor.current_stage, 2);
    QVERIFY(window_->ActionFor(TMenuItemId::EditStage3)->isChecked());
    Key(Qt::Key_F4);
    QCOMPARE(app().GameMode, gmTestPlay);
    QCOMPARE(app().game.progress.StageIndex, 2);
    QVERIFY(!window_->paletteWindow()->isVisible());
    Key(Qt::Key_1, Qt::ControlModifier);  // the Edit menu is dead again
    QCOMPARE(app().editor.current_stage, 2);
    Key(Qt::Key_Escape);
    QCOMPARE(app().GameMode, gmEdit);
  }

  void spaceAndArrowsReachTheGame() {
    Key(Qt::Key_Down);
    QCOMPARE(app().TitleChoice, 2);
    Key(Qt::Key_Up);
    QCOMPARE(app().TitleChoice, 1);
    Key(Qt::Key_Space);
    QCOMPARE(app().GameMode, gmGame);

    // Modifiers are not looked at: Ctrl+Z digs like Z.
    QTest::keyPress(window_->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(app().game.play.keys.KeyDigLeft, 1);
  }

  // A held key repeats as a release and a press, both marked auto-repeat, as
  // X11 and Wayland send them: the latch must hold until the real release.
  void heldKeysStayLatchedThroughAutoRepeat() {
    Key(Qt::Key_S, Qt::AltModifier);
    QCOMPARE(app().GameMode, gmGame);
    QWindow* window = window_->windowHandle();
    const std::vector<std::pair<Qt::Key, const int32_t*>> keys = {
        {Qt::Key_Left, &app().game.play.keys.KeyLeft}, {Qt::Key_Right, &app().game.play.keys.KeyRight},
        {Qt::Key_Up, &app().game.play.keys.KeyUp},     {Qt::Key_Down, &app().game.play.keys.KeyDown},
        {Qt::Key_Z, &app().game.play.keys.KeyDigLeft}, {Qt::Key_X, &app().game.play.keys.KeyDigRight},
    };
    for (const auto& [key, latch] : keys) {
      const QByteArray name = QKeySequence(key).toString().toUtf8();
      QTest::keyPress(window, key);
      QVERIFY2(*latch == 1, name);
      for (int repeat = 0; repeat < 3; ++repeat) {
        QTest::simulateEvent(window, false, key, Qt::NoModifier, QString(), true);
        QVERIFY2(*latch == 1, name);
        QTest::simulateEvent(window, true, key, Qt::NoModifier, QString(), true);
        QVERIFY2(*latch == 1, name);
      }
      QTest::keyRelease(window, key);
      QVERIFY2(*latch == 0, name);
    }
  }

  // Every device pixel shows exactly the surface pixel it lies in: no blur
  // when a high-density screen doubles the picture.
  static void ExpectSharpCopy(QWidget* widget, const TSurface& surface) {
    for (const qreal ratio : {1.0, 2.0}) {
      QImage shot(QSize(surface.width(), surface.height()) * ratio, QImage::Format_RGB32);
      shot.setDevicePixelRatio(ratio);
      widget->render(&shot);
      for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
          QCOMPARE(shot.pixel(x, y) & 0xFFFFFFu, surface.pixel(int(x / ratio), int(y / ratio)));
    }
  }

  void titleAndPaletteArePaintedFromTheSheetWithSharpPixels() {
    QCOMPARE(app().screen.pixel(0, 0), kBackdropBlue);  // the title, drawn from the real sheet
    ExpectSharpCopy(window_->centralWidget(), app().screen);
    // Drawing alone shows nothing; the invalidation does.
    app().screen.data()[0] = 0x123456u;
    QCOMPARE(window_->PresentedImage().pixel(0, 0) & 0xFFFFFFu, kBackdropBlue);
    window_->InvalidateScreen();
    QCOMPARE(window_->PresentedImage().pixel(0, 0) & 0xFFFFFFu, 0x123456u);
    app().ShowTitle();
    Key(Qt::Key_E, Qt::AltModifier);
    QCOMPARE(app().palette_picture.pixel(16, 16),
             app().sprite_sheet.pixel(TileCell(tcBrick).x + 16, TileCell(tcBrick).y + 16));
    ExpectSharpCopy(window_->paletteWindow(), app().palette_picture);
  }

  // Each enabled menu title stands out from the bar behind it.
  void menuTitlesAreReadable() {
    QMenuBar* bar = window_->menuBar();
    const QImage shot = bar->grab().toImage();
    for (QAction* menu : bar->actions()) {
      if (!menu->isEnabled()) continue;
      const QRect area = bar->actionGeometry(menu);
      const int back = qGray(shot.pixel(area.topLeft()));
      int contrasting = 0;
      for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
          contrasting += std::abs(qGray(shot.pixel(x, y)) - back) > 100;
      QVERIFY2(contrasting >= 10, qPrintable(menu->text()));
    }
  }

  void paletteForwardsKeysAndRefusesToClose() {
    Key(Qt::Key_E, Qt::AltModifier);
    platform::PaletteWindow* palette = window_->paletteWindow();
    QVERIFY(palette->isVisible());
    QCOMPARE(palette->size(), QSize(32, 336));
    QVERIFY(!palette->close());
    QVERIFY(palette->isVisible());
    QTest::keyClick(palette, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(app().editor.current_stage, 2);
    QTest::keyClick(palette, Qt::Key_Space);
    QCOMPARE(app().GameMode, gmTestPlay);
  }

  void quitClosesBothWindows() {
    Key(Qt::Key_E, Qt::AltModifier);
    QVERIFY(window_->paletteWindow()->isVisible());
    Key(Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!window_->isVisible());
    QVERIFY(!window_->paletteWindow()->isVisible());
  }

  void aMissingPieceIsShownOnceAndTheGamePlaysOn() {
    audio_->missing_pieces = {"mus1.mid"};
    QStringList shown;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&shown] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      shown << box->windowTitle() + ": " + box->text();
      box->accept();
    });
    closer.start(10);
    Key(Qt::Key_S, Qt::AltModifier);
    closer.stop();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].startsWith("Burrow Dash: cannot open ") && shown[0].endsWith("mus1.mid"),
             qPrintable(shown[0]));
    // The stage started in full and plays.
    QCOMPARE(app().GameMode, gmGame);
    QVERIFY(window_->play_clock().isActive());
    QVERIFY(window_->ActionFor(TMenuItemId::GiveUp)->isEnabled());
  }
};

QTEST_MAIN(MainWindowGuiTest)
#include "main_window_gui_test.moc"
