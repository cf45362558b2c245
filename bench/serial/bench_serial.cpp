// Open+close and a 63-character round trip against an echo on the master
// side of a pseudo-terminal pair, TAfComPort next to QSerialPort, and the CPU
// an open idle port costs. Ends with one BENCH line.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"

#ifdef ULM5_BENCH_WITH_QT
#include <QtCore/QCoreApplication>
#include <QtSerialPort/QSerialPort>
#endif

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kOpenCloseRuns = 300;
constexpr int kRoundTrips = 2000;
const std::string kMessage(63, 'U');

class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ::grantpt(master_);
    ::unlockpt(master_);
    char name[128] = {};
    ::ptsname_r(master_, name, sizeof name);
    slave_ = name;
    // Held open so that the master never sees a hang-up between opens.
    keeper_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  }
  ~Pty() {
    ::close(keeper_);
    ::close(master_);
  }
  int master() const { return master_; }
  const std::string& slave() const { return slave_; }

 private:
  int master_ = -1, keeper_ = -1;
  std::string slave_;
};

class Echo {
 public:
  explicit Echo(int master) : master_(master), thread_([this] { run(); }) {}
  ~Echo() { stop(); }
  void stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  void run() {
    char buf[4096];
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) continue;
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0 && ::write(master_, buf, static_cast<size_t>(n)) != n) return;
    }
  }
  int master_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

double msSince(Clock::time_point start, int runs) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / runs;
}

struct Figures {
  double openClose = 0, roundTrip = 0;
};

Figures measureOurs(const std::string& path) {
  Figures f;
  transport::TAfComPort port("CommModBus");
  port.SetDevicePathResolver([&](int) { return path; });
  port.SetComNumber(1);
  port.Open();
  port.Close();
  auto start = Clock::now();
  for (int i = 0; i < kOpenCloseRuns; ++i) {
    port.Open();
    port.Close();
  }
  f.openClose = msSince(start, kOpenCloseRuns);

  transport::DispatcherEventPump pump;
  port.Open();
  start = Clock::now();
  for (int i = 0; i < kRoundTrips; ++i) {
    port.WriteString(kMessage);
    std::string got;
    while (got.size() < kMessage.size()) {
      // Blocks until the event thread hands over "characters received".
      if (port.InBufUsed() == 0) pump.ProcessEvents(std::chrono::milliseconds(100));
      got += port.ReadString();
    }
  }
  f.roundTrip = msSince(start, kRoundTrips);
  port.Close();
  return f;
}

#ifdef ULM5_BENCH_WITH_QT
Figures measureQt(const std::string& path) {
  Figures f;
  QSerialPort port(QString::fromStdString(path));
  port.setBaudRate(115200);
  auto start = Clock::now();
  for (int i = 0; i < kOpenCloseRuns; ++i) {
    if (!port.open(QIODevice::ReadWrite)) {
      std::fprintf(stderr, "QSerialPort: %s\n", port.errorString().toLocal8Bit().constData());
      return f;
    }
    port.close();
  }
  f.openClose = msSince(start, kOpenCloseRuns);
  port.open(QIODevice::ReadWrite);
  start = Clock::now();
  for (int i = 0; i < kRoundTrips; ++i) {
    port.write(kMessage.data(), static_cast<qint64>(kMessage.size()));
    while (port.bytesAvailable() < static_cast<qint64>(kMessage.size())) {
      if (!port.waitForReadyRead(1000)) break;
    }
    port.readAll();
  }
  f.roundTrip = msSince(start, kRoundTrips);
  port.close();
  return f;
}
#endif

double processCpuSeconds() {
  timespec ts{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// With nothing else running in the process, its CPU time is the port's.
double idleCpuPercent(const std::string& path) {
  transport::TAfComPort port("CommModBus");
  port.SetDevicePathResolver([&](int) { return path; });
  port.SetComNumber(1);
  port.Open();
  const double cpu0 = processCpuSeconds();
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = processCpuSeconds() - cpu0;
  port.Close();
  return 100.0 * cpu / wall;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef ULM5_BENCH_WITH_QT
  QCoreApplication app(argc, argv);
#else
  (void)argc;
  (void)argv;
#endif
  Pty pty;
  Figures ours, qt;
  {
    Echo echo(pty.master());
    ours = measureOurs(pty.slave());
#ifdef ULM5_BENCH_WITH_QT
    qt = measureQt(pty.slave());
#endif
  }
  const double idle = idleCpuPercent(pty.slave());
  std::printf("TAfComPort:  open+close %.4f ms, round trip %.4f ms\n", ours.openClose,
              ours.roundTrip);
  if (qt.openClose > 0) {
    std::printf("QSerialPort: open+close %.4f ms, round trip %.4f ms\n", qt.openClose,
                qt.roundTrip);
  } else {
    std::printf("QSerialPort: not available, ratios reported as 0\n");
  }
  std::printf("idle open port: %.4f %% of one core\n", idle);
  const double openRatio = qt.openClose > 0 ? ours.openClose / qt.openClose : 0;
  const double tripRatio = qt.roundTrip > 0 ? ours.roundTrip / qt.roundTrip : 0;
  std::printf(
      "BENCH serial open_close_ms=%.4f open_close_ratio=%.3f roundtrip_ms=%.4f "
      "roundtrip_ratio=%.3f idle_cpu_pct=%.4f\n",
      ours.openClose, openRatio, ours.roundTrip, tripRatio, idle);
  return 0;
}
