// Measures the real window under a real event loop: the time from start-up to
// the first title frame on screen, and the period of the play timer.
// Usage: tick_period [ticks] [--audio]   (QT_QPA_PLATFORM=offscreen without a display)
// With --audio the game's real sound service plays the game's own files from
// the build folder, as burrow-dash does; without it the game is silent.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/qt/desktop_stand_ins.h"
#include "platform/qt/qt_main_window.h"
#include "platform/sdl/sdl_audio.h"

namespace {

// Notes the moment the game's picture is first painted.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(const QElapsedTimer& clock) : clock_(clock) {}
  qint64 at_ns = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && at_ns < 0) at_ns = clock_.nsecsElapsed();
    return QObject::eventFilter(watched, event);
  }

 private:
  const QElapsedTimer& clock_;
};

// The window as the game's own executable would see it: its sounds beside it.
class GameFolderWindow : public bd::platform::QtMainWindow {
 public:
  using QtMainWindow::QtMainWindow;
  std::string ExecutablePath() override { return BD_GAME_DIR "burrow-dash"; }
};

}  // namespace

int main(int argc, char* argv[]) {
  QElapsedTimer clock;
  clock.start();
  QApplication application(argc, argv);
  int ticks = 500;
  bool with_audio = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--audio") == 0) {
      with_audio = true;
    } else {
      ticks = std::max(10, std::atoi(argv[i]));
    }
  }

  std::unique_ptr<bd::platform::AudioService> audio;
  if (with_audio) {
    audio = std::make_unique<bd::platform::SdlAudio>();
  } else {
    audio = std::make_unique<bd::platform::SilentAudio>();
  }
  bd::platform::NoJoystick joystick;
  GameFolderWindow window(*audio, joystick);
  FirstPaint first_paint(clock);
  window.centralWidget()->installEventFilter(&first_paint);
  window.Start();
  window.show();

  std::vector<qint64> stamps;
  stamps.reserve(ticks + 1);
  QObject::connect(&window.play_clock(), &QTimer::timeout, [&] {
    stamps.push_back(clock.nsecsElapsed());
    if (static_cast<int>(stamps.size()) > ticks) application.quit();
  });
  QTimer::singleShot(0, [&] { window.app().StartGame(); });
  QApplication::exec();

  std::vector<double> periods;
  for (size_t i = 1; i < stamps.size(); ++i) periods.push_back((stamps[i] - stamps[i - 1]) / 1e6);
  double sum = 0;
  for (double p : periods) sum += p;
  const double mean = sum / periods.size();
  std::vector<double> deviations;
  for (double p : periods) deviations.push_back(std::fabs(p - 24.0));
  std::sort(deviations.begin(), deviations.end());
  const double p99 = deviations[static_cast<size_t>(0.99 * (deviations.size() - 1))];
  std::printf("start-up to first title frame (%s): %.1f ms\n", with_audio ? "with audio" : "silent",
              first_paint.at_ns / 1e6);
  std::printf("play timer: %zu periods, mean %.3f ms, p99 deviation from 24 ms %.3f ms, max %.3f ms\n",
              periods.size(), mean, p99, deviations.back());
  return 0;
}
