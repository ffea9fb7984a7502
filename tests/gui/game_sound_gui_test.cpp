// The real game with its real sound: the Qt window and SdlAudio playing the
// game's own files, recorded by SDL's "disk" driver instead of a sound card.
// The title theme must come out at start-up, and a dug hole's effect at the
// moment of the dig after a silent stretch (music switched off).
#include <QtTest>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/headless/headless_services.h"
#include "platform/qt/qt_main_window.h"
#include "platform/sdl/sdl_audio.h"
#include "stage/tile_codes.h"

using namespace bd;

namespace {

constexpr int kBytesPerSecond = 44100 * 2 * 2;  // 16-bit stereo, as SdlAudio opens the device

// The window as the game's own executable sees it: its sounds beside it.
class GameWindow : public platform::QtMainWindow {
 public:
  using QtMainWindow::QtMainWindow;
  std::string ExecutablePath() override { return BD_GAME_DIR "burrow-dash"; }
};

}  // namespace

class GameSoundGuiTest : public QObject {
  Q_OBJECT

 private:
  std::filesystem::path recording_ = std::filesystem::temp_directory_path() / "bd_game_sound_recording.raw";

  qint64 RecordedBytes() const {
    std::error_code error;
    const auto size = std::filesystem::file_size(recording_, error);
    return error ? 0 : static_cast<qint64>(size);
  }
  // The loudest sample between two byte offsets of the recording.
  int Peak(qint64 from, qint64 to) const {
    std::ifstream in(recording_, std::ios::binary);
    in.seekg(std::max<qint64>(0, from) & ~qint64{3});
    int peak = 0;
    int16_t sample = 0;
    for (qint64 at = from; at < to && in.read(reinterpret_cast<char*>(&sample), 2); at += 2)
      peak = std::max(peak, std::abs(static_cast<int>(sample)));
    return peak;
  }
  void WaitForRecording(qint64 bytes) { QTRY_VERIFY_WITH_TIMEOUT(RecordedBytes() >= bytes, 10000); }

 private slots:
  void initTestCase() {
    std::filesystem::remove(recording_);
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QByteArray::fromStdString(recording_.string()));
  }
  void cleanupTestCase() { std::filesystem::remove(recording_); }

  void titleThemeThenADugHolesEffectComeOut() {
    platform::HeadlessJoystick joystick;
    platform::SdlAudio audio;
    QCOMPARE(QString::fromStdString(audio.Observe().driver), QString("disk"));
    QVERIFY2(!audio.Observe().sound_font.empty(),
             "no General MIDI sound font: scripts/install-deps.sh installs one");
    GameWindow window(audio, joystick);
    window.Start();
    window.show();
    TApp& app = window.app();

    // The title theme: music within the first two seconds of the recording.
    WaitForRecording(2 * kBytesPerSecond);
    const int title_peak = Peak(0, 2 * kBytesPerSecond);
    QVERIFY2(title_peak > 1000, qPrintable(QString("title theme peak %1").arg(title_peak)));

    // Music off, then a stage of our own in test play: nothing sounds until the dig.
    app.RunCommand(TMenuItemId::ToggleMusic);
    app.editor.SetCell(0, 5, 11, tcRunnerStart);
    for (int column = 1; column <= 14; ++column) app.editor.SetCell(0, column, 12, tcBrick);
    app.RunCommand(TMenuItemId::EditMode);
    app.RunCommand(TMenuItemId::TestPlay);
    QVERIFY(window.play_clock().isActive());
    const qint64 quiet_from = RecordedBytes() + kBytesPerSecond / 2;
    WaitForRecording(quiet_from + kBytesPerSecond);
    const qint64 dig_at = RecordedBytes();
    app.KeyDown(vkZ);
    QTRY_VERIFY_WITH_TIMEOUT(app.game.play().runner.DigTicks != 0, 2000);
    app.KeyUp(vkZ);
    QCOMPARE(app.game.play().holes.timer[0] != 0, true);
    WaitForRecording(dig_at + kBytesPerSecond);

    const int before = Peak(quiet_from, dig_at);
    const int after = Peak(dig_at, dig_at + kBytesPerSecond);
    QVERIFY2(before < 200, qPrintable(QString("not silent before the dig: peak %1").arg(before)));
    QVERIFY2(after > 10000, qPrintable(QString("no dig sound: peak %1").arg(after)));
  }
};

QTEST_MAIN(GameSoundGuiTest)
#include "game_sound_gui_test.moc"
