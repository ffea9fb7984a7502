// The stage editor in the real windows, offscreen: painting with the mouse,
// the palette window, the close box with unsaved stages, the file dialogs and
// saves that fail. ctest runs it twice, the second time at a device-pixel
// ratio of 2 (QT_SCALE_FACTOR=2); both runs expect the same cells.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <span>

#include "editor/stage_file.h"
#include "platform/headless/headless_services.h"
#include "platform/qt/palette_window.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/surface_view.h"
#include "render/sprite_sheet.h"

using namespace bd;
using bd::platform::PaletteWindow;
using bd::platform::QtMainWindow;
using bd::platform::SurfaceView;

namespace {

// What the dialog's OK button does; QFileDialog hides accept() from outside.
void Accept(QDialog* dialog) { dialog->accept(); }

void Dismiss(QWidget* modal) {
  if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->close();
  }
}

QLineEdit* NameBox(QFileDialog* dialog) { return dialog->findChild<QLineEdit*>("fileNameEdit"); }

// Types the name into the file dialog's name box and accepts, as the player would.
void Choose(QFileDialog* dialog, const QString& name) {
  QLineEdit* box = NameBox(dialog);
  if (!box) {
    dialog->reject();
    return;
  }
  box->setText(name);
  Accept(dialog);
}

// Answers the modal windows that open while it lives, in order: step k gets
// the k-th one. Steps run from the event loop rather than from the polling
// timer, so a step may open another modal window for a later step; one that
// no step expects is dismissed, so a wrong turn fails instead of hanging.
class ModalAnswers : public QObject {
 public:
  using Step = std::function<void(QWidget*)>;

  explicit ModalAnswers(std::vector<Step> steps) : steps_(std::move(steps)) {
    connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
    poll_.start(5);
  }
  size_t answered() const { return next_; }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == last_) return;
    last_ = modal;
    const Step step = next_ < steps_.size() ? steps_[next_++] : Step(Dismiss);
    QMetaObject::invokeMethod(
        this,
        [step, modal = QPointer<QWidget>(modal)] {
          if (modal) step(modal);
        },
        Qt::QueuedConnection);
  }

  std::vector<Step> steps_;
  size_t next_ = 0;
  QPointer<QWidget> last_;
  QTimer poll_;
};

// A step for a modal window of type T; any other kind is dismissed.
template <typename T, typename Act>
ModalAnswers::Step On(Act act) {
  return [act](QWidget* modal) {
    if (auto* typed = qobject_cast<T*>(modal)) {
      act(typed);
    } else {
      Dismiss(modal);
    }
  };
}

ModalAnswers::Step Press(QMessageBox::StandardButton button, QString* text = nullptr) {
  return On<QMessageBox>([button, text](QMessageBox* box) {
    if (text) *text = box->text();
    if (QAbstractButton* answer = box->button(button)) {
      answer->click();
    } else {
      box->reject();
    }
  });
}

// Files written from here on may grow to `bytes` at most, and going past it
// fails the write instead of killing the process; the old limit comes back
// at the end of the scope.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_limit_);
    old_handler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_limit_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_limit_);
    signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_limit_{};
  sighandler_t old_handler_;
};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Bytes(std::span<const uint8_t> bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

QStringList Entries(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

}  // namespace

class StageEditorGuiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<platform::HeadlessAudio> audio_;
  std::unique_ptr<platform::HeadlessJoystick> joystick_;
  std::unique_ptr<QtMainWindow> window_;

  TApp& app() { return window_->app(); }
  PaletteWindow* palette() { return window_->paletteWindow(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window_->windowHandle(), key, modifiers);
  }
  // A window manager gives the focus back when a dialog closes; offscreen, the test does.
  void Reactivate() {
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void EnterEditor() {
    Key(Qt::Key_E, Qt::AltModifier);
    QCOMPARE(app().GameMode, gmEdit);
  }

  // A point of the view's window inside picture pixel (x, y): the view
  // shows the whole picture, so its logical size sets the scale.
  static QPoint PointOver(SurfaceView* view, QPoint pixel, QSize picture) {
    const QPoint in_view((2 * pixel.x() + 1) * view->width() / (2 * picture.width()),
                         (2 * pixel.y() + 1) * view->height() / (2 * picture.height()));
    return view->mapTo(view->window(), in_view);
  }
  QPoint ScreenPoint(QPoint pixel) { return PointOver(window_->view(), pixel, {kImageWidth, kImageHeight}); }

  // Presses the button over the first pixel, moves over the others, releases over the last.
  void Drag(Qt::MouseButton button, const std::vector<QPoint>& pixels) {
    QWindow* window = window_->windowHandle();
    QTest::mousePress(window, button, Qt::NoModifier, ScreenPoint(pixels.front()));
    for (size_t k = 1; k < pixels.size(); ++k) QTest::mouseMove(window, ScreenPoint(pixels[k]));
    QTest::mouseRelease(window, button, Qt::NoModifier, ScreenPoint(pixels.back()));
  }

  // The cells of the stage shown that differ from `before`, as "column,row:code".
  QStringList ChangedCells(const TStageGrid& before) {
    QStringList cells;
    const TStageGrid& grid = app().editor.stages()[app().editor.current_stage()];
    for (int r = 0; r < kStageRows; ++r)
      for (int c = 0; c < kStageColumns; ++c)
        if (grid.at(c, r) != before.at(c, r)) cells << QString("%1,%2:%3").arg(c).arg(r).arg(grid.at(c, r));
    return cells;
  }
  TStageGrid Shown() { return app().editor.stages()[app().editor.current_stage()]; }

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

  void paletteIsAStayOnTopToolWindowThatCannotBeClosed() {
    EnterEditor();
    QVERIFY(palette()->isVisible());
    const Qt::WindowFlags flags = palette()->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!palette()->close());
    QVERIFY(palette()->isVisible());
    palette()->windowHandle()->close();  // as the window manager asks
    QVERIFY(palette()->isVisible());
    QVERIFY(window_->isVisible());
  }

  void paletteSitsBelowAndLeftOfTheMainWindow() {
    const QPoint offset(-40, 54);  // outer top-left corner against the main window's
    // Clear of the screen's left edge: offscreen at a device-pixel ratio of
    // 2, Qt 6.4 puts a window moved to a negative x one pixel off.
    window_->move(60, 20);
    EnterEditor();
    QCOMPARE(palette()->frameGeometry().topLeft() - window_->frameGeometry().topLeft(), offset);

    // It follows a main window that moved when it is next shown...
    window_->move(window_->pos() + QPoint(70, 30));
    Key(Qt::Key_F4);
    QVERIFY(!palette()->isVisible());
    Key(Qt::Key_Escape);
    QVERIFY(palette()->isVisible());
    QCOMPARE(palette()->frameGeometry().topLeft() - window_->frameGeometry().topLeft(), offset);

    // ...and stays where the player put it otherwise.
    const QPoint put = palette()->pos() + QPoint(-60, 25);
    palette()->move(put);
    Key(Qt::Key_F4);
    Key(Qt::Key_Escape);
    QVERIFY(palette()->isVisible());
    QCOMPARE(palette()->pos(), put);
  }

  void dragPaintsTheCellsItCrosses_data() {
    QTest::addColumn<int>("window_scale");
    QTest::newRow("window at scale 1") << 1;
    QTest::newRow("window at scale 2") << 2;
  }

  void dragPaintsTheCellsItCrosses() {
    QFETCH(int, window_scale);
    // The second ctest run sets QT_SCALE_FACTOR=2: make sure it took.
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    const qreal ratio = factor.isEmpty() ? 1.0 : factor.toDouble();
    QCOMPARE(window_->devicePixelRatio(), ratio);
    window_->SetWindowScale(window_scale);
    QCOMPARE(window_->view()->size(), QSize(kImageWidth, kImageHeight) * window_scale);
    EnterEditor();
    const TStageGrid before = Shown();

    // Pixels on both sides of cell edges, so any drift in the mapping shows.
    // The frame column (x < 32) is out of the editor's reach.
    Drag(Qt::LeftButton, {{95, 191}, {96, 191}, {127, 160}, {128, 160}, {128, 192}, {31, 192}});
    QCOMPARE(ChangedCells(before), QStringList({"2,5:1", "3,5:1", "4,5:1", "4,6:1"}));
    QVERIFY(app().editor.HasUnsavedStages());

    // The painted cell 2,5 is on the screen as a block of picture pixels,
    // each shown as one square of identical device pixels.
    const QImage shot = window_->view()->grab().toImage();
    const int side = qRound(window_scale * ratio);
    QCOMPARE(shot.size(), QSize(kImageWidth, kImageHeight) * side);
    const QPoint cell(2 * kCellPixels, 5 * kCellPixels);
    QCOMPARE(app().screen.pixel(cell.x() + 16, cell.y() + 16),
             app().sprite_sheet().pixel(TileCell(tcBrick).x + 16, TileCell(tcBrick).y + 16));
    for (int y = 0; y < kCellPixels * side; ++y)
      for (int x = 0; x < kCellPixels * side; ++x)
        QCOMPARE(shot.pixel(cell.x() * side + x, cell.y() * side + y) & 0xFFFFFFu,
                 app().screen.pixel(cell.x() + x / side, cell.y() + y / side));
  }

  void rightDragErasesAndMiddleDoesNothing() {
    EnterEditor();
    const TStageGrid before = Shown();
    Drag(Qt::LeftButton, {{40, 40}, {72, 40}, {104, 40}, {136, 40}});
    QCOMPARE(ChangedCells(before), QStringList({"1,1:1", "2,1:1", "3,1:1", "4,1:1"}));
    Drag(Qt::MiddleButton, {{40, 40}, {40, 72}, {72, 72}});
    QCOMPARE(ChangedCells(before), QStringList({"1,1:1", "2,1:1", "3,1:1", "4,1:1"}));
    Drag(Qt::RightButton, {{72, 40}, {104, 40}});
    QCOMPARE(ChangedCells(before), QStringList({"1,1:1", "4,1:1"}));
  }

  void pointsOffThePictureHaveNoPixel() {
    auto* view = qobject_cast<SurfaceView*>(window_->centralWidget());
    QCOMPARE(view->PixelAt(QPointF(0, 0)).value_or(QPoint(-1, -1)), QPoint(0, 0));
    QCOMPARE(view->PixelAt(QPointF(511.9, 447.9)).value_or(QPoint(-1, -1)), QPoint(511, 447));
    // Rounding toward zero would put these on the top and left edges.
    QVERIFY(!view->PixelAt(QPointF(-0.5, 10)));
    QVERIFY(!view->PixelAt(QPointF(10, -0.5)));
    QVERIFY(!view->PixelAt(QPointF(512, 10)));
    QVERIFY(!view->PixelAt(QPointF(10, 448)));
  }

  void paletteClickSelectsTheTile() {
    EnterEditor();
    const TStageGrid before = Shown();
    QCOMPARE(app().editor.selected_tile(), tcBrick);
    SurfaceView* view = palette()->view();
    QWindow* window = palette()->windowHandle();
    const QSize picture(kPalettePictureWidth, kPalettePictureHeight);
    // The last pixel row of the ladder, the third tile from the top.
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, PointOver(view, {16, 95}, picture));
    QCOMPARE(app().editor.selected_tile(), tcLadder);
    // Only the left button chooses.
    QTest::mouseClick(window, Qt::RightButton, Qt::NoModifier, PointOver(view, {16, 200}, picture));
    QTest::mouseClick(window, Qt::MiddleButton, Qt::NoModifier, PointOver(view, {16, 200}, picture));
    QCOMPARE(app().editor.selected_tile(), tcLadder);

    Drag(Qt::LeftButton, {{40, 40}});
    QCOMPARE(ChangedCells(before), QStringList({"1,1:3"}));
  }

  void aKeyReleasedOverThePaletteIsReleasedInTheGame() {
    EnterEditor();
    Key(Qt::Key_F4);
    QCOMPARE(app().GameMode, gmTestPlay);
    QTest::keyPress(window_->windowHandle(), Qt::Key_Left);
    QCOMPARE(app().keys().KeyLeft, 1);
    Key(Qt::Key_Escape);
    QCOMPARE(app().GameMode, gmEdit);

    palette()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(palette()));
    QTest::keyRelease(palette()->windowHandle(), Qt::Key_Left);
    QCOMPARE(app().keys().KeyLeft, 0);
  }

  void closeBoxAsksBeforeDiscardingStages() {
    EnterEditor();
    Drag(Qt::LeftButton, {{40, 40}});
    QVERIFY(app().editor.HasUnsavedStages());

    QString question;
    {
      ModalAnswers answers({Press(QMessageBox::Cancel, &question)});
      window_->windowHandle()->close();  // what the close box does
      QCOMPARE(answers.answered(), size_t{1});
    }
    QCOMPARE(question, QString("Discard the unsaved stages?"));
    QVERIFY(window_->isVisible());
    QVERIFY(palette()->isVisible());
    QCOMPARE(app().GameMode, gmEdit);

    {
      ModalAnswers answers({Press(QMessageBox::Ok)});
      window_->windowHandle()->close();
      QCOMPARE(answers.answered(), size_t{1});
    }
    QVERIFY(!window_->isVisible());
    QVERIFY(!palette()->isVisible());
  }

  void closeBoxClosesAtOnceWithNothingUnsaved() {
    EnterEditor();
    ModalAnswers answers({});
    window_->windowHandle()->close();
    QVERIFY(!window_->isVisible());
    QVERIFY(!palette()->isVisible());
    QCOMPARE(answers.answered(), size_t{0});
  }

  void saveDialogAddsTheSuffixAndAsksBeforeReplacing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    EnterEditor();

    QString title, suffix, first_name = "-", second_name;
    QStringList filters;
    bool save_mode = false, confirms = false;
    {
      ModalAnswers answers({On<QFileDialog>([&](QFileDialog* dialog) {
        if (NameBox(dialog)) first_name = NameBox(dialog)->text();
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        suffix = dialog->defaultSuffix();
        save_mode = dialog->acceptMode() == QFileDialog::AcceptSave;
        confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        Choose(dialog, dir.filePath("first"));
      })});
      Key(Qt::Key_F2);
      QCOMPARE(answers.answered(), size_t{1});
    }
    QCOMPARE(title, QString("Save"));
    QCOMPARE(filters, QStringList({"Burrow Dash Stage (*.bds)"}));
    QCOMPARE(suffix, QString("bds"));
    QVERIFY(save_mode);
    QVERIFY(confirms);
    QCOMPARE(first_name, QString());  // not "*.bds", which would be saved under that name
    const QString saved = dir.filePath("first.bds");
    QCOMPARE(QString::fromStdString(app().editor.file_name()), saved);
    const QByteArray first = ReadAll(saved);
    QCOMPARE(first.size(), static_cast<qsizetype>(kStageFileBytes));

    // Saving over it asks first; No leaves the file as it was.
    Drag(Qt::LeftButton, {{40, 40}});
    const auto choose_saved = On<QFileDialog>([&](QFileDialog* dialog) {
      if (NameBox(dialog)) second_name = NameBox(dialog)->text();
      Choose(dialog, saved);
    });
    QString question;
    {
      ModalAnswers answers({choose_saved, Press(QMessageBox::No, &question),
                            On<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); })});
      Reactivate();
      Key(Qt::Key_F2);
      QCOMPARE(answers.answered(), size_t{3});
    }
    QCOMPARE(second_name, QString("first.bds"));  // the set's file
    QVERIFY2(question.contains("first.bds"), qPrintable(question));
    QCOMPARE(ReadAll(saved), first);
    QVERIFY(app().editor.HasUnsavedStages());

    {
      ModalAnswers answers({choose_saved, Press(QMessageBox::Yes)});
      Reactivate();
      Key(Qt::Key_F2);
      QCOMPARE(answers.answered(), size_t{2});
    }
    const auto replaced = StageFileBytes(app().editor.stages());
    QCOMPARE(ReadAll(saved), Bytes(replaced));
    QVERIFY(ReadAll(saved) != first);
    QVERIFY(!app().editor.HasUnsavedStages());
  }

  void openDialogWantsAnExistingFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TEditSet set{};
    set[0].at(3, 4) = tcLadder;
    const auto bytes = StageFileBytes(set);
    const QString ladder = dir.filePath("ladder.bds");
    {
      QFile file(ladder);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    }
    EnterEditor();

    QString title, not_found;
    QStringList filters;
    bool open_mode = false, existing_only = false;
    {
      ModalAnswers answers({On<QFileDialog>([&](QFileDialog* dialog) {
                              title = dialog->windowTitle();
                              filters = dialog->nameFilters();
                              open_mode = dialog->acceptMode() == QFileDialog::AcceptOpen;
                              existing_only = dialog->fileMode() == QFileDialog::ExistingFile;
                              Choose(dialog, dir.filePath("missing.bds"));
                            }),
                            Press(QMessageBox::Ok, &not_found),
                            On<QFileDialog>([&](QFileDialog* dialog) { Choose(dialog, ladder); })});
      Key(Qt::Key_F3);
      QCOMPARE(answers.answered(), size_t{3});
    }
    QCOMPARE(title, QString("Open"));
    QCOMPARE(filters, QStringList({"Burrow Dash Stage (*.bds)"}));
    QVERIFY(open_mode);
    QVERIFY(existing_only);
    QVERIFY2(not_found.contains("missing.bds"), qPrintable(not_found));
    QCOMPARE(QString::fromStdString(app().editor.file_name()), ladder);
    QCOMPARE(ChangedCells(TStageGrid{}), QStringList({"3,4:3"}));
  }

  void interruptedSaveLeavesTheOldFileWhole() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("set.bds");
    const std::vector<uint8_t> old_bytes(200, 0x11), new_bytes(4096, 0x22);
    std::string error;
    QVERIFY(window_->WriteFile(path.toStdString(), old_bytes, error));
    QCOMPARE(ReadAll(path), Bytes(old_bytes));

    bool written = true;
    {
      // Running as root, permissions would not stop the write; a size limit does, midway.
      FileSizeLimit limit(512);
      written = window_->WriteFile(path.toStdString(), new_bytes, error);
    }
    QVERIFY(!written);
    QVERIFY(!error.empty());
    QCOMPARE(ReadAll(path), Bytes(old_bytes));
    QCOMPARE(Entries(dir), QStringList({"set.bds"}));  // no scratch file left behind

    error.clear();
    QVERIFY2(window_->WriteFile(path.toStdString(), new_bytes, error), error.c_str());
    QCOMPARE(ReadAll(path), Bytes(new_bytes));
    QCOMPARE(Entries(dir), QStringList({"set.bds"}));
  }

  void saveIntoAMissingFolderIsReported() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    std::string error;
    const std::vector<uint8_t> bytes(100, 0x33);
    QVERIFY(!window_->WriteFile(dir.filePath("gone/set.bds").toStdString(), bytes, error));
    QVERIFY(!error.empty());
    QVERIFY(Entries(dir).isEmpty());
    // A FIFO is not replaced by a regular file.
    const std::string fifo = dir.filePath("fifo.bds").toStdString();
    QCOMPARE(mkfifo(fifo.c_str(), 0600), 0);
    QVERIFY(!window_->WriteFile(fifo, bytes, error) && std::filesystem::is_fifo(fifo));
    QCOMPARE(error, std::string("it is not a regular file"));
  }
};

QTEST_MAIN(StageEditorGuiTest)
#include "stage_editor_gui_test.moc"
