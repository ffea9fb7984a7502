#include "platform/qt/qt_main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "platform/file_access.h"
#include "platform/qt/key_codes.h"
#include "platform/qt/palette_window.h"
#include "platform/qt/surface_images.h"
#include "platform/qt/surface_view.h"

namespace bd::platform {
namespace {

constexpr int kTickMilliseconds = 24;
constexpr int kAltE = kShortcutAlt + 'E';

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// "Burrow Dash Stage|*.bds" as Qt writes it: "Burrow Dash Stage (*.bds)".
QString QtFilter(const std::string& filter) {
  const auto bar = filter.find('|');
  if (bar == std::string::npos) return ToQt(filter);
  return ToQt(filter.substr(0, bar)) + " (" + ToQt(filter.substr(bar + 1)) + ")";
}

std::optional<TMouseButton> CoreButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return TMouseButton::Left;
    case Qt::RightButton: return TMouseButton::Right;
    case Qt::MiddleButton: return TMouseButton::Middle;
    default: return std::nullopt;
  }
}

TMouseButtons CoreButtons(Qt::MouseButtons held) {
  return {held.testFlag(Qt::LeftButton), held.testFlag(Qt::RightButton), held.testFlag(Qt::MiddleButton)};
}

// The set's file when it has one. "*.bds" means none yet: as a name Qt would
// take it literally and save a file called "*.bds", so the name starts empty
// and the filter shows the stage files.
void SelectRequestedFile(QFileDialog& dialog, const FileDialogRequest& request) {
  const QString name = ToQt(request.file_name);
  if (!name.contains('*') && !name.contains('?')) dialog.selectFile(name);
}

}  // namespace

QtMainWindow::QtMainWindow(AudioService& audio, JoystickService& joystick)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                               Qt::MSWindowsFixedSizeDialogHint),
      audio_(audio),
      joystick_(joystick),
      app_(Services{*this, *this, *this, audio_, joystick_, *this, *this}) {
  setWindowTitle(kCaption);

  view_ = new SurfaceView(app_.screen, this);
  setCentralWidget(view_);
  connect(view_, &SurfaceView::pressed, this, [this](Qt::MouseButton qt_button, QPoint pixel) {
    if (const auto button = CoreButton(qt_button))
      Dispatch([&] { app_.ScreenMouseDown(*button, pixel.x(), pixel.y()); });
  });
  connect(view_, &SurfaceView::dragged, this, [this](Qt::MouseButtons held, QPoint pixel) {
    Dispatch([&] { app_.ScreenMouseMove(CoreButtons(held), pixel.x(), pixel.y()); });
  });
  BuildMenuBar();
  FixWindowSize();
  setFocusPolicy(Qt::StrongFocus);
  menuBar()->installEventFilter(this);  // to give the keys back when a menu closes

  play_clock_.setTimerType(Qt::PreciseTimer);
  play_clock_.setInterval(kTickMilliseconds);
  joystick_poll_.setTimerType(Qt::PreciseTimer);
  joystick_poll_.setInterval(kTickMilliseconds);
  // A tick never starts inside another handler (a message box's own event loop).
  connect(&play_clock_, &QTimer::timeout, this, [this] {
    if (dispatch_depth_ == 0) Dispatch([this] { app_.PlayTick(); });
  });
  connect(&joystick_poll_, &QTimer::timeout, this, [this] {
    if (dispatch_depth_ == 0) Dispatch([this] { app_.PollJoystick(); });
  });
  joystick_poll_.start();  // on from creation to exit
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::Start() {
  // The sheet is part of the program: without it there is nothing to show.
  TSurface sprite_sheet(kSheetWidth, kSheetHeight);
  LoadSpriteSheet(sprite_sheet);
  app_.SetSpriteSheet(sprite_sheet);
  Dispatch([this] { app_.Startup(); });
  palette_ = std::make_unique<PaletteWindow>(*this, app_.palette_picture);
  connect(palette_->view(), &SurfaceView::pressed, this, [this](Qt::MouseButton qt_button, QPoint pixel) {
    if (const auto button = CoreButton(qt_button))
      Dispatch([&] { app_.PaletteMouseDown(*button, pixel.x(), pixel.y()); });
  });
  Dispatch([this] { app_.editor.DrawPalette(); });
  palette_->FollowMainWindow(Place());
  setFocus();
}

void QtMainWindow::FixWindowSize() {
  view_->setFixedSize(QSize(kImageWidth, kImageHeight) * window_scale_);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void QtMainWindow::SetWindowScale(int scale) {
  window_scale_ = std::clamp(scale, 1, kMaxWindowScale);
  if (isFullScreen()) return;
  view_->setFixedSize(QSize(kImageWidth, kImageHeight) * window_scale_);
  if (palette_) palette_->FollowMainWindow(Place());
}

int QtMainWindow::LargestScaleThatFits(int wanted) const {
  const QRect area = screen()->availableGeometry();
  // Before the window is first shown the window system has not said how big
  // its frame is: allow for a usual title bar and border.
  QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  if (frame.isNull()) frame = QMargins(4, 32, 4, 4);
  const int menu_bar = menuBar()->sizeHint().height();
  int scale = std::clamp(wanted, 1, kMaxWindowScale);
  while (scale > 1 && (kImageWidth * scale + frame.left() + frame.right() > area.width() ||
                       kImageHeight * scale + menu_bar + frame.top() + frame.bottom() > area.height()))
    --scale;
  return scale;
}

void QtMainWindow::SetFullScreen(bool full_screen) {
  if (full_screen == isFullScreen()) return;
  if (full_screen) {
    windowed_pos_ = pos();
    windowed_client_ = geometry().topLeft();
    // A window manager refuses full screen to a window of fixed size.
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    view_->setMinimumSize(0, 0);
    view_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    showFullScreen();
    if (palette_) palette_->FollowMainWindow(FullScreenPlace());
  } else {
    showNormal();
    FixWindowSize();
    // A window manager (openbox) may put it back elsewhere: where it was. By
    // the client area, as the frame it has again is not yet known here.
    setGeometry(QRect(windowed_client_, geometry().size()));
    if (palette_) palette_->FollowMainWindow({window_scale_, false, windowed_pos_, {}, {}});
  }
}

MainWindowPlace QtMainWindow::FullScreenPlace() const {
  // The window covers the screen, the menu bar on top and the picture below it.
  const QRect screen_area = screen()->geometry();
  const QRect below_menu = screen_area.adjusted(0, menuBar()->sizeHint().height(), 0, 0);
  const QRect picture = PictureRectIn(below_menu, {kImageWidth, kImageHeight});
  return {picture.width() / kImageWidth, true, {}, picture, screen_area};
}

MainWindowPlace QtMainWindow::Place() const {
  if (isFullScreen()) return FullScreenPlace();
  return {window_scale_, false, pos(), {}, {}};
}

const QImage& QtMainWindow::PresentedImage() const { return view_->Presented(); }

void QtMainWindow::BuildMenuBar() {
  const TMainMenu& model = app_.menu;
  QActionGroup* radio_group = nullptr;
  for (const TMenuItem& item : model.Items()) {
    const int index = static_cast<int>(item.id);
    QMenu* parent = item.parent ? menus_[static_cast<int>(*item.parent)] : nullptr;
    switch (item.kind) {
      case TMenuItemKind::Menu: {
        QMenu* menu = parent ? parent->addMenu(item.caption) : menuBar()->addMenu(item.caption);
        menu->setObjectName(item.name);
        // Qt leaves the menu bar holding the keys once a menu closes by Escape.
        if (!parent) {
          connect(menu, &QMenu::aboutToHide, this, [this] {
            // Qt owns the queued call until it runs: not a leak.
            QMetaObject::invokeMethod(  // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)
                this,
                [this] {
                  if (!QApplication::activePopupWidget()) GiveKeysToTheGame();
                },
                Qt::QueuedConnection);
          });
        }
        menus_[index] = menu;
        actions_[index] = menu->menuAction();
        break;
      }
      case TMenuItemKind::Separator:
        actions_[index] = parent->addSeparator();
        actions_[index]->setObjectName(item.name);
        break;
      case TMenuItemKind::Command: {
        QAction* action = parent->addAction(item.caption);
        action->setObjectName(item.name);
        action->setShortcut(KeySequenceOfShortcut(item.shortcut));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(item.checkable);
        if (item.radio_group != 0) {
          if (!radio_group) radio_group = new QActionGroup(this);
          radio_group->addAction(action);
        }
        const TMenuItemId id = item.id;
        connect(action, &QAction::triggered, this,
                [this, id] { Dispatch([this, id] { app_.RunCommand(id); }); });
        actions_[index] = action;
        break;
      }
    }
  }
  SyncMenu();
}

void QtMainWindow::SyncMenu() {
  const TMainMenu& model = app_.menu;
  for (const TMenuItem& item : model.Items()) {
    QAction* action = actions_[static_cast<int>(item.id)];
    if (!action) continue;
    // A command's shortcut must die with any menu above it, which Qt does
    // not do by itself: a command is enabled only when its whole path is.
    const bool enabled = item.kind == TMenuItemKind::Command ? model.Active(item.id) : item.enabled;
    if (action->isEnabled() != enabled) action->setEnabled(enabled);
    if (action->isCheckable() && action->isChecked() != item.checked) action->setChecked(item.checked);
  }
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == menuBar() && event->type() == QEvent::FocusIn && !QApplication::activePopupWidget())
    GiveKeysToTheGame();
  return QMainWindow::eventFilter(watched, event);
}

void QtMainWindow::GiveKeysToTheGame() {
  // Escape is how the menu bar itself leaves its keyboard mode.
  QMenuBar* bar = menuBar();
  if (bar->hasFocus() || bar->activeAction()) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &escape);
  }
  setFocus(Qt::OtherFocusReason);
}

bool QtMainWindow::event(QEvent* event) {
  // Key-ups go wherever the keyboard went (a menu, a message box, a dialog,
  // another program): release what the game holds as if they had come here.
  if (event->type() == QEvent::FocusOut || event->type() == QEvent::WindowDeactivate) app_.ReleaseHeldInput();
  // Alt+E is both the "&Edit Mode" shortcut and the "&Edit" menu's mnemonic.
  // Where Edit Mode can act, take the key before Qt finds the pair ambiguous.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (ShortcutCodeOf(*key) == kAltE && app_.menu.Active(TMenuItemId::EditMode)) {
      event->accept();
      return true;
    }
  }
  return QMainWindow::event(event);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  // The close box is the Quit command: the program may ask about unsaved
  // stages, and only its CloseMainWindow lets the window go. Qt refuses a
  // close() nested in this handler, so that call only grants this close.
  if (!close_granted_) {
    in_close_event_ = true;
    Dispatch([this] { app_.Quit(); });
    in_close_event_ = false;
  }
  if (!std::exchange(close_granted_, false)) {
    event->ignore();
    return;
  }
  // The palette goes with the main window, so that closing it ends the program.
  if (palette_) palette_->hide();
  QMainWindow::closeEvent(event);
}

void QtMainWindow::keyPressEvent(QKeyEvent* event) { HandleKeyPress(event, false); }

void QtMainWindow::HandleKeyPress(QKeyEvent* event, bool from_palette) {
  event->accept();
  // F11 belongs to the window, not to the game: neither a shortcut nor a game key.
  if (event->key() == Qt::Key_F11) {
    if (!event->isAutoRepeat()) SetFullScreen(!isFullScreen());
    return;
  }
  // F10 opens the first menu, as desktop programs do.
  if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::NoModifier) {
    if (!event->isAutoRepeat())
      menuBar()->setActiveAction(menus_[static_cast<int>(TMenuItemId::FileMenu)]->menuAction());
    return;
  }
  const int code = ShortcutCodeOf(*event);
  if (const auto item = app_.menu.FindShortcut(code)) {
    // A shortcut key belongs to the menu whether or not its item can act.
    // Enabled items of the main window fire through their actions before the
    // key gets here; Alt+E and the palette's keys are run from here.
    if (code == kAltE || from_palette) Dispatch([this, id = *item] { app_.RunCommand(id); });
    return;
  }
  const int vk = VirtualKeyOf(*event);
  if (vk != 0) Dispatch([this, vk] { app_.KeyDown(static_cast<uint16_t>(vk)); });
}

void QtMainWindow::keyReleaseEvent(QKeyEvent* event) { HandleKeyRelease(event); }

void QtMainWindow::HandleKeyRelease(QKeyEvent* event) {
  event->accept();
  // Auto-repeat sends a release before each repeated press: the key is still held.
  if (event->isAutoRepeat() || event->key() == Qt::Key_F11) return;
  const int vk = VirtualKeyOf(*event);
  if (vk != 0) Dispatch([this, vk] { app_.KeyUp(static_cast<uint16_t>(vk)); });
}

void QtMainWindow::ShowError(const QString& text) {
  QMessageBox::critical(this, QString::fromUtf8(kCaption), text);
}

void QtMainWindow::SetCaption(const std::string& caption) { setWindowTitle(ToQt(caption)); }

void QtMainWindow::PlaceMainWindow(int left, int top, int client_width, int client_height) {
  // The core centres the window by half the picture's width on both axes,
  // top not above the screen; a larger window is centred by the same rule
  // with its own half width.
  const int shift = client_width / 2 * (window_scale_ - 1);
  view_->setFixedSize(QSize(client_width, client_height) * window_scale_);
  move(left - shift, std::max(0, top - shift));
}

ScreenSize QtMainWindow::GetScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return {screen->size().width(), screen->size().height()};
}

std::string QtMainWindow::ExecutablePath() { return QCoreApplication::applicationFilePath().toStdString(); }

void QtMainWindow::InvalidateScreen() { view_->Refresh(); }

void QtMainWindow::SetPaletteVisible(bool visible) {
  if (palette_ && visible) palette_->ShowBesideMainWindow();
  if (palette_ && !visible) palette_->hide();
  if (visible) activateWindow();  // keys keep going to the game window
}

void QtMainWindow::InvalidatePalette() {
  if (palette_) palette_->Refresh();
}

void QtMainWindow::CloseMainWindow() {
  close_granted_ = true;
  if (!in_close_event_) close();
}

void QtMainWindow::SetTimerEnabled(TTimerId timer, bool enabled) {
  QTimer& qt_timer = timer == TTimerId::PlayClock ? play_clock_ : joystick_poll_;
  if (enabled && !qt_timer.isActive()) qt_timer.start();
  if (!enabled) qt_timer.stop();
}

bool QtMainWindow::MessageBox(const std::string& text, const std::string& caption, bool ok_cancel) {
  // The box takes the keyboard: keys held now would never see their release.
  app_.ReleaseHeldInput();
  const auto buttons = ok_cancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
  if (message_notes_) {
    const std::string reason = text.starts_with("Error\n") ? text.substr(6) : text;
    std::fprintf(message_notes_, "burrow-dash: %s\n", reason.c_str());
  }
  QMessageBox box(QMessageBox::NoIcon, ToQt(caption), ToQt(text), buttons, this);
  return box.exec() == QMessageBox::Ok;
}

std::optional<std::string> QtMainWindow::RunOpenDialog(const FileDialogRequest& request) {
  QFileDialog dialog(this, ToQt(request.title), QString(), QtFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(ToQt(request.default_ext));
  SelectRequestedFile(dialog, request);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

std::optional<std::string> QtMainWindow::RunSaveDialog(const FileDialogRequest& request) {
  QFileDialog dialog(this, ToQt(request.title), QString(), QtFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(ToQt(request.default_ext));
  SelectRequestedFile(dialog, request);
  // Asks before replacing a file: Qt's default, unless DontConfirmOverwrite is set.
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

uint32_t QtMainWindow::TimeSeed() { return static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch()); }

std::optional<std::vector<uint8_t>> QtMainWindow::ReadFile(const std::string& path, size_t max_bytes,
                                                           std::string& reason) {
  return ReadRegularFile(path, max_bytes, reason);
}

bool QtMainWindow::WriteFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error) {
  // QSaveFile writes beside the target and renames only a complete file over
  // it. Unbuffered, because Qt 6.4's commit() renames even when its buffer
  // could not all be written (a full disk, a file size limit), which would
  // replace the old file with a cut-off one.
  // QSaveFile would put a regular file in place of a FIFO or a device.
  if (!MayReplaceWithFile(path, error)) return false;
  QSaveFile file(QFile::decodeName(QByteArray::fromStdString(path)));
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    error = file.errorString().toStdString();
    return false;
  }
  const char* data = reinterpret_cast<const char*>(bytes.data());
  auto left = static_cast<qint64>(bytes.size());
  while (left > 0) {
    // A short write is tried again for the rest, which fails with the reason.
    const qint64 written = file.write(data, left);
    if (written <= 0) {
      error = file.errorString().toStdString();
      if (error.empty()) error = "the file could not be written";
      file.cancelWriting();
      return false;
    }
    data += written;
    left -= written;
  }
  if (!file.commit()) {
    error = file.errorString().toStdString();
    return false;
  }
  return true;
}

}  // namespace bd::platform
