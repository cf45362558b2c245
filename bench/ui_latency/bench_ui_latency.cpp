// How soon the user-interface thread serves a timer event and an event posted
// from another thread while an exchange waits for a reply that never comes,
// and how much CPU the waiting costs. Runs on the offscreen platform.

#include <sys/resource.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "modbus/exchange.h"
#include "modbus/steady_tick.h"
#include "tests/ui/silent_port.h"
#include "ui/qt_event_pump.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Receives stamped events and records how long each took to be served.
class StampedReceiver : public QObject {
 public:
  static constexpr QEvent::Type kType = QEvent::User;

  class Stamped : public QEvent {
   public:
    Stamped() : QEvent(kType), posted(Clock::now()) {}
    Clock::time_point posted;
  };

  bool event(QEvent* e) override {
    if (e->type() != kType) return QObject::event(e);
    latencies.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - static_cast<Stamped*>(e)->posted)
            .count());
    return true;
  }

  std::vector<double> latencies;
};

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  SilentPort port;
  modbus::SteadyTick tick;
  QtEventPump pump;
  const modbus::LinkServices link{port, tick, pump, nullptr};
  const modbus::ExchangeTiming timing{2500, 1000, 50};  // each exchange waits 1 s for nothing
  const modbus::ByteString payload("\x00\x03\x00\x78\x00\x06", 6);
  constexpr int kExchanges = 5;
  constexpr auto kPeriod = 20ms;

  // Timer lateness: a precise periodic timer, measured against its schedule.
  std::vector<double> timerLateness;
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  timer.setInterval(kPeriod);
  Clock::time_point due;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    const auto now = Clock::now();
    timerLateness.push_back(std::chrono::duration<double, std::milli>(now - due).count());
    due = now + kPeriod;
  });

  // Posted events: another thread posts a stamped event every period. The
  // CPU share of this phase includes serving both streams.
  StampedReceiver receiver;
  std::atomic<bool> stop{false};
  std::thread poster([&] {
    while (!stop) {
      std::this_thread::sleep_for(kPeriod);
      QCoreApplication::postEvent(&receiver, new StampedReceiver::Stamped);
    }
  });

  due = Clock::now() + kPeriod;
  timer.start();
  const double cpuStart = cpuSeconds();
  const auto wallStart = Clock::now();
  for (int i = 0; i < kExchanges; ++i) modbus::Exchange(link, 1, 6, timing, payload);
  const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
  const double cpu = cpuSeconds() - cpuStart;
  timer.stop();
  stop = true;
  poster.join();

  // The same wait with nothing to serve: what blocking in the loop costs.
  const double idleCpuStart = cpuSeconds();
  const auto idleStart = Clock::now();
  modbus::Exchange(link, 1, 6, timing, payload);
  const double idleWall = std::chrono::duration<double>(Clock::now() - idleStart).count();
  const double idleCpuPct = 100.0 * (cpuSeconds() - idleCpuStart) / idleWall;

  const double eventMs = median(receiver.latencies);
  const double timerMs = median(timerLateness);
  const double cpuPct = 100.0 * cpu / wall;
  std::printf("posted events served: %zu, median latency %.3f ms, max %.3f ms\n",
              receiver.latencies.size(), eventMs,
              receiver.latencies.empty()
                  ? 0.0
                  : *std::max_element(receiver.latencies.begin(), receiver.latencies.end()));
  std::printf("timer ticks served: %zu, median lateness %.3f ms\n", timerLateness.size(), timerMs);
  std::printf("BENCH ui_latency event_ms=%.3f timer_ms=%.3f cpu_pct=%.2f idle_cpu_pct=%.2f\n",
              eventMs, timerMs, cpuPct, idleCpuPct);
  return 0;
}
