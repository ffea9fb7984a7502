// The real Qt window, offscreen: its size at each window scale and full
// screen, its menu bar, and keys going through Qt's own key and shortcut
// handling into the core. ctest also runs the scale and full-screen tests
// on a 1920x1080 offscreen screen.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <algorithm>

#include "platform/headless/headless_services.h"
#include "platform/qt/palette_window.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/surface_view.h"
#include "render/sprite_sheet.h"

using namespace bd;
using bd::platform::QtMainWindow;

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
  // A new window at this window scale, as `--scale` gives it.
  void Reopen(int scale) {
    window_.reset();
    window_ = std::make_unique<QtMainWindow>(*audio_, *joystick_);
    window_->SetWindowScale(scale);
    window_->Start();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  QSize ScreenSize() { return window_->screen()->size(); }

  // The shot holds the surface at `origin`, each pixel a scale x scale block
  // of its colour, and black everywhere else.
  static void ExpectBlocksOnBlack(const QImage& shot, QPoint origin, int scale, const TSurface& surface) {
    const QRect picture(origin, QSize(surface.width(), surface.height()) * scale);
    for (int y = 0; y < shot.height(); ++y) {
      for (int x = 0; x < shot.width(); ++x) {
        const uint32_t expected =
            picture.contains(x, y) ? surface.pixel((x - origin.x()) / scale, (y - origin.y()) / scale) : 0;
        if ((shot.pixel(x, y) & 0xFFFFFFu) != expected)
          QFAIL(qPrintable(QString("pixel %1,%2 is %3, not %4")
                               .arg(x)
                               .arg(y)
                               .arg(shot.pixel(x, y) & 0xFFFFFFu, 6, 16, QChar('0'))
                               .arg(expected, 6, 16, QChar('0'))));
      }
    }
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

  void largerWindowsAreCentredByTheSameRule_data() {
    QTest::addColumn<int>("scale");
    for (int scale = 1; scale <= QtMainWindow::kMaxWindowScale; ++scale)
      QTest::addRow("scale %d", scale) << scale;
  }

  // Half the picture's width from the screen's middle on both axes, top not above the screen.
  void largerWindowsAreCentredByTheSameRule() {
    QFETCH(int, scale);
    Reopen(scale);
    QCOMPARE(window_->centralWidget()->size(), QSize(512, 448) * scale);
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    const QSize screen = ScreenSize();
    const QPoint expected(screen.width() / 2 - 256 * scale, std::max(0, screen.height() / 2 - 256 * scale));
    // Offscreen, a window with a frame is pushed back onto the screen; the
    // 1920x1080 run has no frames.
    if (expected.x() < 0 && window_->frameGeometry() != window_->geometry())
      QSKIP("offscreen keeps a framed window's left edge on the screen");
    QCOMPARE(window_->pos(), expected);
  }

  void scaledWindowShowsEachPixelAsASharpBlock() {
    Reopen(2);
    const QImage shot = window_->view()->grab().toImage();
    QCOMPARE(shot.size(), QSize(1024, 896));
    ExpectBlocksOnBlack(shot, {0, 0}, 2, app().screen);
  }

  void f11ShowsThePictureFullScreenOnBlackAndBack() {
    const QRect windowed = window_->geometry();
    Key(Qt::Key_F11);
    QTRY_VERIFY(window_->isFullScreen());
    QTRY_COMPARE(window_->geometry(), window_->screen()->geometry());
    // The menu bar stays at the top; the picture fills what is left at the
    // largest whole scale that fits, centred.
    QMenuBar* bar = window_->menuBar();
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->geometry().topLeft(), QPoint(0, 0));
    platform::SurfaceView* view = window_->view();
    QCOMPARE(view->geometry(),
             QRect(0, bar->height(), ScreenSize().width(), ScreenSize().height() - bar->height()));
    const int scale = std::min(view->width() / 512, view->height() / 448);
    QVERIFY(scale >= 1);
    if (ScreenSize().height() >= 1080) QVERIFY(scale >= 2);
    const QPoint origin((view->width() - 512 * scale) / 2, (view->height() - 448 * scale) / 2);
    ExpectBlocksOnBlack(view->grab().toImage(), origin, scale, app().screen);

    // The mouse still finds the picture's pixels.
    QCOMPARE(view->PixelAt(origin + QPointF(0.5, 0.5)).value_or(QPoint(-1, -1)), QPoint(0, 0));
    QCOMPARE(view->PixelAt(origin + QPointF(512 * scale - 0.5, 448 * scale - 0.5)).value_or(QPoint(-1, -1)),
             QPoint(511, 447));
    QVERIFY(!view->PixelAt(origin - QPointF(0.5, 0.5)));

    Key(Qt::Key_F11);
    QTRY_VERIFY(!window_->isFullScreen());
    QTRY_COMPARE(window_->geometry(), windowed);
    QCOMPARE(view->size(), QSize(512, 448));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
  }

  // One switch a press, not one a repeat, and the same from the palette.
  void heldF11SwitchesOnce() {
    QWindow* window = window_->windowHandle();
    QTest::keyPress(window, Qt::Key_F11);
    QTRY_VERIFY(window_->isFullScreen());
    for (int repeat = 0; repeat < 3; ++repeat) {
      QTest::simulateEvent(window, false, Qt::Key_F11, Qt::NoModifier, QString(), true);
      QTest::simulateEvent(window, true, Qt::Key_F11, Qt::NoModifier, QString(), true);
    }
    QTest::keyRelease(window, Qt::Key_F11);
    QVERIFY(window_->isFullScreen());

    Key(Qt::Key_E, Qt::AltModifier);
    QTest::keyClick(window_->paletteWindow(), Qt::Key_F11);
    QTRY_VERIFY(!window_->isFullScreen());
  }

  void paletteTakesThePictureScaleAndStaysBesideIt() {
    Reopen(2);
    window_->move(200, 20);  // room on the left
    Key(Qt::Key_E, Qt::AltModifier);
    platform::PaletteWindow* palette = window_->paletteWindow();
    QVERIFY(palette->isVisible());
    QCOMPARE(palette->size(), QSize(64, 672));
    // Its right edge where a 1x palette has it.
    QCOMPARE(palette->frameGeometry().topLeft() - window_->frameGeometry().topLeft(), QPoint(-72, 54));

    Key(Qt::Key_F11);
    QTRY_VERIFY(window_->isFullScreen());
    platform::SurfaceView* view = window_->view();
    const QRect picture(view->mapToGlobal(view->PictureRect().topLeft()), view->PictureRect().size());
    const int scale = picture.width() / 512;
    QTRY_COMPARE(palette->size(), QSize(32, 336) * scale);
    QCOMPARE(palette->pos().y(), picture.top());
    QCOMPARE(palette->pos().x(), std::max(0, picture.left() - 8 - palette->width()));

    Key(Qt::Key_F11);
    QTRY_VERIFY(!window_->isFullScreen());
    QTRY_COMPARE(palette->size(), QSize(64, 672));
    QCOMPARE(palette->frameGeometry().topLeft() - window_->frameGeometry().topLeft(), QPoint(-72, 54));
  }

  void menuBarHoldsEveryItemWithItsCaptionAndShortcut() {
    // The bar mirrors the menu table: its menus in order, then each menu's
    // items with their captions, separators and shortcuts as a player reads them.
    const auto& table = app().menu.Items();
    const auto children = [&table](std::optional<TMenuItemId> parent) {
      std::vector<const TMenuItem*> found;
      for (const TMenuItem& item : table)
        if (item.parent == parent) found.push_back(&item);
      return found;
    };
    const QList<QAction*> menus = window_->menuBar()->actions();
    const std::vector<const TMenuItem*> bar = children(std::nullopt);
    QCOMPARE(menus.size(), static_cast<qsizetype>(bar.size()));
    for (size_t m = 0; m < bar.size(); ++m) {
      QCOMPARE(menus[m]->text(), QString(bar[m]->caption));
      const QList<QAction*> items = menus[m]->menu()->actions();
      const std::vector<const TMenuItem*> expected = children(bar[m]->id);
      QCOMPARE(items.size(), static_cast<qsizetype>(expected.size()));
      for (qsizetype i = 0; i < items.size(); ++i) {
        if (expected[i]->kind == TMenuItemKind::Separator) {
          QVERIFY2(items[i]->isSeparator(), expected[i]->name);
          continue;
        }
        QCOMPARE(items[i]->text(), QString(expected[i]->caption));
        const QString shortcut = expected[i]->shortcut == 0
                                     ? QString()
                                     : QString::fromStdString(ShortcutName(expected[i]->shortcut));
        QCOMPARE(items[i]->shortcut().toString(QKeySequence::PortableText), shortcut);
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
    QCOMPARE(app().editor.current_stage(), 0);

    // Alt+E is Edit Mode where that can act, not an ambiguous pair with the Edit menu.
    Key(Qt::Key_E, Qt::AltModifier);
    QCOMPARE(app().GameMode, gmEdit);
    QVERIFY(window_->paletteWindow()->isVisible());
    Key(Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(app().editor.current_stage(), 2);
    QVERIFY(window_->ActionFor(TMenuItemId::EditStage3)->isChecked());
    Key(Qt::Key_F4);
    QCOMPARE(app().GameMode, gmTestPlay);
    QCOMPARE(app().game.progress().StageIndex, 2);
    QVERIFY(!window_->paletteWindow()->isVisible());
    Key(Qt::Key_1, Qt::ControlModifier);  // the Edit menu is dead again
    QCOMPARE(app().editor.current_stage(), 2);
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
    QCOMPARE(app().keys().KeyDigLeft, 1);
  }

  // A held key repeats as a release and a press, both marked auto-repeat, as
  // X11 and Wayland send them: the latch must hold until the real release.
  void heldKeysStayLatchedThroughAutoRepeat() {
    Key(Qt::Key_S, Qt::AltModifier);
    QCOMPARE(app().GameMode, gmGame);
    QWindow* window = window_->windowHandle();
    const std::vector<std::pair<Qt::Key, const int32_t*>> keys = {
        {Qt::Key_Left, &app().keys().KeyLeft}, {Qt::Key_Right, &app().keys().KeyRight},
        {Qt::Key_Up, &app().keys().KeyUp},     {Qt::Key_Down, &app().keys().KeyDown},
        {Qt::Key_Z, &app().keys().KeyDigLeft}, {Qt::Key_X, &app().keys().KeyDigRight},
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
             app().sprite_sheet().pixel(TileCell(tcBrick).x + 16, TileCell(tcBrick).y + 16));
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
    QCOMPARE(app().editor.current_stage(), 2);
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

  // The keys are the game's unless a menu is open: one Escape closes a menu
  // opened with the mouse or F10, Alt alone takes nothing; and the keyboard
  // going elsewhere (a message box, a menu) lets held keys go. The offscreen
  // platform leaves a closed popup or box active, where a window system gives
  // the activation back to the main window, as escape_and_back does here.
  void keysComeBackFromTheMenusAndLetGoWhenTheFocusLeaves() {
    QMenuBar* bar = window_->menuBar();
    QMenu* file = window_->MenuFor(TMenuItemId::FileMenu);
    const auto click_file = [&] {
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file->menuAction()).center());
      QTRY_VERIFY(file->isVisible());
    };
    const auto escape_and_back = [&] {
      QTest::keyClick(file, Qt::Key_Escape);
      QTRY_VERIFY(!file->isVisible());
      window_->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    };
    click_file();
    escape_and_back();
    Key(Qt::Key_Down);
    QCOMPARE(app().TitleChoice, 2);
    Key(Qt::Key_Alt);
    Key(Qt::Key_Up);
    QCOMPARE(app().TitleChoice, 1);
    QVERIFY(!bar->hasFocus() && !bar->activeAction());
    Key(Qt::Key_F10);
    QTRY_VERIFY(file->isVisible());
    escape_and_back();
    Key(Qt::Key_Down);
    QCOMPARE(app().TitleChoice, 2);

    Key(Qt::Key_S, Qt::AltModifier);
    QTest::keyPress(window_->windowHandle(), Qt::Key_Left);
    app().joy.JoyRight = 1;
    QTimer::singleShot(50, this,
                       [] { qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->accept(); });
    window_->MessageBox("held", "Burrow Dash", false);
    QCOMPARE(app().keys().KeyLeft + app().joy.JoyRight, 0);
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QTest::keyPress(window_->windowHandle(), Qt::Key_Right);
    click_file();
    QCOMPARE(app().keys().KeyRight, 0);
    escape_and_back();
    Key(Qt::Key_F1);
    Key(Qt::Key_Enter, Qt::KeypadModifier);  // the keypad's Enter confirms as Space does
    QCOMPARE(app().GameMode, gmGame);
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
