// The measurement poll of the page "Измерения" end to end: the main window
// polls the simulator on a pseudo-terminal through the real serial port
// component, in real time, for a given number of seconds. Reports how long
// each timer tick takes to bring fresh values into the fields, and what the
// whole process costs in CPU while polling. The window "Тренд" is open
// throughout, first filled with a full hour of points fed at speed: how long
// one redraw of it takes (and its share of a poll period) and how much memory
// the window holds. Runs on the offscreen platform.
//
// bench_poll [--seconds N]   (default 22: eleven ticks of 2 s)

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QTimerEvent>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "sim/simulator.h"
#include "tests/ui/window_on_simulator.h"
#include "ui/application_windows.h"
#include "ui/tform_main.h"
#include "ui/tform_trend.h"
#include "ui/trend_plot.h"
#include "ui/trend_recorder.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPollPeriodMs = 2000;  // TimerIzmer
constexpr int kDefaultSeconds = 22;

// The timer event reaches a filter on the QTimer before QTimer turns it into
// the timeout signal, hence before the window's poll slot runs.
class TickStamp : public QObject {
 public:
  TickStamp(QTimer& timer, const sim::Simulator& simulator)
      : timer_(timer), simulator_(simulator) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &timer_ && event->type() == QEvent::Timer &&
        static_cast<QTimerEvent*>(event)->timerId() == timer_.timerId()) {
      fired = Clock::now();
      requestsAtFire = simulator_.requestsServed();
    }
    return false;
  }

  Clock::time_point fired;
  uint64_t requestsAtFire = 0;

 private:
  QTimer& timer_;
  const sim::Simulator& simulator_;
};

struct CpuTimes {
  double process = 0;
  double thread = 0;
};

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

CpuTimes cpuNow() {
  rusage self{};
  rusage thread{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_THREAD, &thread);
  return {seconds(self.ru_utime) + seconds(self.ru_stime),
          seconds(thread.ru_utime) + seconds(thread.ru_stime)};
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

int secondsFromArguments(int argc, char* argv[]) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0) return std::max(1, std::atoi(argv[i + 1]));
  }
  return kDefaultSeconds;
}

// Resident memory of the process, from /proc.
double residentKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}

// An hour of polls ending now, at speed: a measurement drifting through a
// slow wave, a fault for a while and a few missed polls.
void feedHour(TrendRecorder& recorder) {
  const QDateTime now = QDateTime::currentDateTime();
  QDateTime at = now.addMSecs(-int64_t{kPollPeriodMs} * static_cast<int64_t>(trend::kHourSamples));
  recorder.setClock([&at] { return at; });
  for (size_t n = 0; n < trend::kHourSamples; ++n) {
    at = at.addMSecs(kPollPeriodMs);
    if (n % 300 == 150) {
      recorder.missed();
      continue;
    }
    device::CurrentData data;
    const double phase = static_cast<double>(n) / 120.0;
    data.physical = static_cast<float>(250.0 + 40.0 * std::sin(phase));
    data.parameter = static_cast<float>(12.0 + 4.0 * std::sin(phase));
    data.coldJunction = static_cast<float>(22.0 + 0.5 * std::cos(phase / 3));
    data.faultWord = (n > 900 && n < 960) ? 0x0004 : 0;
    recorder.measured(data);
  }
  recorder.setClock({});
}

template <typename T>
T* child(QWidget& window, const char* name) {
  auto* found = window.findChild<T*>(QString::fromLatin1(name));
  if (!found) std::fprintf(stderr, "no %s in the main window\n", name);
  return found;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int runSeconds = secondsFromArguments(argc, argv);
  const int tickCount = std::max(1, (runSeconds * 1000 + kPollPeriodMs - 1) / kPollPeriodMs);

  WindowOnSimulator session(sim::SimulatorOptions{});  // 115200 bit/s, 3 ms turnaround
  sim::Simulator& simulator = session.simulator;
  TformMain& form = session.form();

  auto* timer = child<QTimer>(form, "TimerIzmer");
  auto* start = child<QPushButton>(form, "BitBtnIzmerStart");
  auto* stop = child<QPushButton>(form, "BitBtnIzmerStop");
  auto* dateTime = child<QLabel>(form, "StaticTextIzmerDateTime");
  if (!timer || !start || !stop || !dateTime) return 1;

  // The trend window, open through its button, with a full hour in it.
  const double kbBeforeTrend = residentKb();
  child<QPushButton>(form, "BitBtnTrend")->click();
  auto* trendWindow = child<TformTrend>(form, "TformTrend");
  if (!trendWindow) return 1;
  feedHour(form.trendRecorder());
  QCoreApplication::processEvents();
  constexpr int kRedraws = 50;
  std::vector<double> redrawMs;
  for (int n = 0; n < kRedraws; ++n) {
    const auto begin = Clock::now();
    trendWindow->plot().repaint();
    redrawMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
  }
  const double trendKb = residentKb() - kbBeforeTrend;
  const double redrawMedian = median(redrawMs);
  std::printf("trend: %zu points, redraw median %.2f ms (max %.2f ms), window holds %.0f kB\n",
              form.trendRecorder().samples().samples().size(), redrawMedian,
              *std::max_element(redrawMs.begin(), redrawMs.end()), trendKb);

  TickStamp stamp(*timer, simulator);
  timer->installEventFilter(&stamp);

  // The window connected its poll in its constructor; this slot comes after
  // it, so it runs once the poll (which waits for the reply inside its slot)
  // has written the fields.
  const QRegularExpression datePattern(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d$"));
  std::vector<double> tickMs;
  int failed = 0;
  int noRequest = 0;
  QEventLoop polling;
  QObject::connect(timer, &QTimer::timeout, [&] {
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - stamp.fired).count();
    tickMs.push_back(ms);
    const QString text = dateTime->text();
    const bool answered = simulator.requestsServed() > stamp.requestsAtFire;
    const bool shown = datePattern.match(text).hasMatch();
    if (!answered) ++noRequest;
    if (!shown || !answered) ++failed;
    std::printf("tick %2zu: %7.1f ms  %s%s\n", tickMs.size(), ms, qPrintable(text),
                answered ? "" : "  (no request served)");
    std::fflush(stdout);
    if (static_cast<int>(tickMs.size()) >= tickCount) polling.quit();
  });

  start->click();
  if (!timer->isActive()) {
    std::fprintf(stderr, "the poll did not start\n");
    return 1;
  }
  std::printf("polling %d ticks of %d ms against %s\n", tickCount, kPollPeriodMs,
              simulator.devicePath().c_str());

  const CpuTimes cpuStart = cpuNow();
  const auto wallStart = Clock::now();
  polling.exec();
  const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
  const CpuTimes cpuEnd = cpuNow();

  stop->click();
  form.close();
  QCoreApplication::processEvents();

  const double cpuPct = 100.0 * (cpuEnd.process - cpuStart.process) / wall;
  const double uiCpuPct = 100.0 * (cpuEnd.thread - cpuStart.thread) / wall;
  const double tickMedian = median(tickMs);
  std::printf("polled for %.1f s: %zu ticks, %d failed (%d without a request served)\n", wall,
              tickMs.size(), failed, noRequest);
  std::printf("tick to fields updated: median %.1f ms, min %.1f ms, max %.1f ms\n", tickMedian,
              *std::min_element(tickMs.begin(), tickMs.end()),
              *std::max_element(tickMs.begin(), tickMs.end()));
  std::printf("CPU: process %.2f %% of one core, user-interface thread %.2f %%\n", cpuPct,
              uiCpuPct);
  std::printf(
      "BENCH poll cpu_pct=%.2f tick_ms=%.1f ui_cpu_pct=%.2f failed=%d ticks=%zu "
      "trend_points=%zu trend_redraw_ms=%.2f trend_redraw_cpu_pct=%.3f trend_kb=%.0f\n",
      cpuPct, tickMedian, uiCpuPct, failed, tickMs.size(), trend::kHourSamples, redrawMedian,
      100.0 * redrawMedian / kPollPeriodMs, trendKb);
  return 0;
}
