// Open+close and a 63-character round trip against an echo on the master
// side of a pseudo-terminal pair, TAfComPort next to QSerialPort, and the CPU
// an open idle port costs. Ends with one BENCH line.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "pty_echo.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"

#ifdef ULM5_BENCH_WITH_QT
#include <QtCore/QCoreApplication>
#include <QtSerialPort/QSerialPort>
#endif

namespace {

using Clock = std::chrono::steady_clock;
// Rounds alternate between the two ports so that both see the same load;
// medians keep a busy machine's stalls out of the figures.
constexpr int kRounds = 10;
constexpr int kOpenCloseRuns = 50;
constexpr int kRoundTrips = 300;
const std::string kMessage(63, 'U');

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
  std::vector<double> openClose, roundTrip, blockingRoundTrip;
};

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

void measureOurs(const std::string& path, Figures& f) {
  transport::TAfComPort port("CommModBus");
  port.SetDevicePathResolver([&](int) { return path; });
  port.SetComNumber(1);
  for (int i = 0; i < kOpenCloseRuns; ++i) {
    const auto start = Clock::now();
    port.Open();
    port.Close();
    f.openClose.push_back(msSince(start));
  }

  transport::DispatcherEventPump pump;
  std::string got;
  port.OnDataRecived = [&](transport::TAfCustomSerialPort& sender, int32_t) {
    got += sender.ReadString();
  };
  port.Open();
  for (int i = 0; i < kRoundTrips; ++i) {
    const auto start = Clock::now();
    got.clear();
    port.WriteString(kMessage);
    // The answer is read when the event thread hands over "characters
    // received", as an application does.
    while (got.size() < kMessage.size()) pump.ProcessEvents(std::chrono::milliseconds(100));
    f.roundTrip.push_back(msSince(start));
  }
  port.Close();
}

#ifdef ULM5_BENCH_WITH_QT
void measureQt(const std::string& path, Figures& f) {
  QSerialPort port(QString::fromStdString(path));
  port.setBaudRate(115200);
  for (int i = 0; i < kOpenCloseRuns; ++i) {
    const auto start = Clock::now();
    if (!port.open(QIODevice::ReadWrite)) {
      std::fprintf(stderr, "QSerialPort: %s\n", port.errorString().toLocal8Bit().constData());
      return;
    }
    port.close();
    f.openClose.push_back(msSince(start));
  }
  // Event-driven like ours: the answer is read in the readyRead handler
  // while the event loop runs.
  port.open(QIODevice::ReadWrite);
  QByteArray got;
  QObject::connect(&port, &QSerialPort::readyRead, [&] { got += port.readAll(); });
  for (int i = 0; i < kRoundTrips; ++i) {
    const auto start = Clock::now();
    got.clear();
    port.write(kMessage.data(), static_cast<qint64>(kMessage.size()));
    while (got.size() < static_cast<qsizetype>(kMessage.size())) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    f.roundTrip.push_back(msSince(start));
  }
  QObject::disconnect(&port, nullptr, nullptr, nullptr);
  // For reference: Qt's blocking wait, which needs no event loop at all.
  for (int i = 0; i < kRoundTrips; ++i) {
    const auto start = Clock::now();
    port.write(kMessage.data(), static_cast<qint64>(kMessage.size()));
    while (port.bytesAvailable() < static_cast<qint64>(kMessage.size())) {
      if (!port.waitForReadyRead(1000)) break;
    }
    port.readAll();
    f.blockingRoundTrip.push_back(msSince(start));
  }
  port.close();
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
  bench::Pty pty;
  Figures ours, qt;
  {
    bench::Echo echo(pty.master());
    for (int round = 0; round < kRounds; ++round) {
      measureOurs(pty.slave(), ours);
#ifdef ULM5_BENCH_WITH_QT
      measureQt(pty.slave(), qt);
#endif
    }
  }
  const double idle = idleCpuPercent(pty.slave());
  const double oursOpen = median(ours.openClose), oursTrip = median(ours.roundTrip);
  const double qtOpen = median(qt.openClose), qtTrip = median(qt.roundTrip);
  std::printf("medians of %d open+close and %d round trips each\n", kRounds * kOpenCloseRuns,
              kRounds * kRoundTrips);
  std::printf("TAfComPort:  open+close %.4f ms, round trip %.4f ms\n", oursOpen, oursTrip);
  if (qtOpen > 0) {
    std::printf("QSerialPort: open+close %.4f ms, round trip %.4f ms (waitForReadyRead %.4f ms)\n",
                qtOpen, qtTrip, median(qt.blockingRoundTrip));
  } else {
    std::printf("QSerialPort: not available, ratios reported as 0\n");
  }
  std::printf("idle open port: %.4f %% of one core\n", idle);
  const double openRatio = qtOpen > 0 ? oursOpen / qtOpen : 0;
  const double tripRatio = qtTrip > 0 ? oursTrip / qtTrip : 0;
  std::printf(
      "BENCH serial open_close_ms=%.4f open_close_ratio=%.3f roundtrip_ms=%.4f "
      "roundtrip_ratio=%.3f idle_cpu_pct=%.4f\n",
      oursOpen, openRatio, oursTrip, tripRatio, idle);
  return 0;
}
