// Ten thousand open, one-frame echo, close cycles of TAfComPort on a
// pseudo-terminal pair: the time a cycle takes, and the descriptors and
// threads the run leaves behind (both 0 when nothing leaks). Ends with one
// BENCH line.
#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "pty_echo.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kCycles = 10000;
const std::string kFrame = ":000300000001FC\r\n";

int entriesIn(const char* dir) {
  int n = 0;
  if (DIR* d = ::opendir(dir)) {
    while (::readdir(d)) ++n;
    ::closedir(d);
  }
  return n;
}

}  // namespace

int main() {
  bench::Pty pty;
  bench::Echo echo(pty.master());
  transport::TAfComPort port("CommModBus");
  port.SetDevicePathResolver([&](int) { return pty.slave(); });
  port.SetComNumber(1);
  transport::DispatcherEventPump pump;

  // One cycle first, so that lazily created process-wide state is not counted.
  port.Open();
  port.Close();
  const int fdsBefore = entriesIn("/proc/self/fd");
  const int threadsBefore = entriesIn("/proc/self/task");
  double longestMs = 0;
  const auto start = Clock::now();
  for (int i = 0; i < kCycles; ++i) {
    const auto cycleStart = Clock::now();
    port.Open();
    port.WriteString(kFrame);
    std::string got;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (got.size() < kFrame.size() && Clock::now() < deadline) {
      if (port.InBufUsed() == 0) pump.ProcessEvents(std::chrono::milliseconds(5));
      got += port.ReadString();
    }
    port.Close();
    if (got != kFrame) {
      std::fprintf(stderr, "cycle %d: echo %zu of %zu bytes\n", i, got.size(), kFrame.size());
      return 1;
    }
    longestMs = std::max(
        longestMs, std::chrono::duration<double, std::milli>(Clock::now() - cycleStart).count());
  }
  const double totalMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  const int fdsLeft = entriesIn("/proc/self/fd") - fdsBefore;
  const int threadsLeft = entriesIn("/proc/self/task") - threadsBefore;
  std::printf("%d cycles in %.0f ms: %.4f ms a cycle, longest %.3f ms\n", kCycles, totalMs,
              totalMs / kCycles, longestMs);
  std::printf("left behind: %d descriptors, %d threads\n", fdsLeft, threadsLeft);
  std::printf(
      "BENCH open_close cycles=%d cycle_ms=%.4f longest_cycle_ms=%.3f fds_left=%d "
      "threads_left=%d\n",
      kCycles, totalMs / kCycles, longestMs, fdsLeft, threadsLeft);
  return 0;
}
