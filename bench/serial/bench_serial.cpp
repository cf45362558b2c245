// Open+close and a 63-character round trip against an echo on the master
// side of a pseudo-terminal pair, TAfComPort next to QSerialPort, and the CPU
// an open idle port costs. Ends with one BENCH line.
#include <cstdio>
#include <string>
#include <vector>

#include "port_figures.h"
#include "pty_echo.h"

#ifdef ULM5_BENCH_WITH_QT
#include <QtCore/QCoreApplication>
#include <QtSerialPort/QSerialPort>
#endif

namespace {

using bench::Clock;
using bench::kMessage;
using bench::kOpenCloseRuns;
using bench::kRoundTrips;
using bench::median;
using bench::msSince;
// Rounds alternate between the two ports so that both see the same load.
constexpr int kRounds = 10;

struct Figures : bench::PortFigures {
  std::vector<double> blockingRoundTrip;
};

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
      bench::measurePort(pty.slave(), ours);
#ifdef ULM5_BENCH_WITH_QT
      measureQt(pty.slave(), qt);
#endif
    }
  }
  const double idle = bench::idleCpuPercent(pty.slave());
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
