// The Windows build's figures of TAfComPort, run under Wine: open+close and a
// 63-character round trip on a COM port whose far end, on the Linux side,
// echoes every byte, and the CPU an open idle port costs. The COM number is
// the argument (default 1). Ends with one BENCH line.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "port_figures.h"
#include "transport/af_com_port_core.h"

int main(int argc, char** argv) {
  constexpr int kRounds = 10;
  const int com = argc > 1 ? std::atoi(argv[1]) : 1;
  const std::string path = transport::DefaultDevicePath(com);
  bench::PortFigures figures;
  double idle = 0;
  try {
    for (int round = 0; round < kRounds; ++round) bench::measurePort(path, figures);
    idle = bench::idleCpuPercent(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "COM%d: %s\n", com, e.what());
    return 1;
  }
  const double openClose = bench::median(figures.openClose);
  const double roundTrip = bench::median(figures.roundTrip);
  std::printf("COM%d, medians of %d open+close and %d round trips\n", com,
              kRounds * bench::kOpenCloseRuns, kRounds * bench::kRoundTrips);
  std::printf("TAfComPort:  open+close %.4f ms, round trip %.4f ms\n", openClose, roundTrip);
  std::printf("idle open port: %.4f %% of one core\n", idle);
  std::printf("BENCH serial_wine open_close_ms=%.4f roundtrip_ms=%.4f idle_cpu_pct=%.4f\n",
              openClose, roundTrip, idle);
  return 0;
}
