#pragma once

// The figures of TAfComPort that the serial benches report on every platform:
// open+close and a 63-character round trip against a far end that echoes
// every byte, and the CPU an open idle port costs.

#include <time.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"

namespace bench {

using Clock = std::chrono::steady_clock;
constexpr int kOpenCloseRuns = 50;
constexpr int kRoundTrips = 300;
inline const std::string kMessage(63, 'U');

inline double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Medians keep a busy machine's stalls out of the figures.
inline double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

struct PortFigures {
  std::vector<double> openClose, roundTrip;
};

inline void configure(transport::TAfComPort& port, const std::string& path) {
  port.SetDevicePathResolver([path](int) { return path; });
  port.SetComNumber(1);
}

// Adds kOpenCloseRuns open+close times and kRoundTrips round trips.
inline void measurePort(const std::string& path, PortFigures& f) {
  transport::TAfComPort port("CommModBus");
  configure(port, path);
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
    const auto deadline = start + std::chrono::seconds(10);
    while (got.size() < kMessage.size()) {
      if (Clock::now() > deadline) throw std::runtime_error("no echo from " + path);
      pump.ProcessEvents(std::chrono::milliseconds(100));
    }
    f.roundTrip.push_back(msSince(start));
  }
  port.Close();
}

inline double processCpuSeconds() {
  timespec ts{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// With nothing else running in the process, its CPU time is the port's.
inline double idleCpuPercent(const std::string& path) {
  transport::TAfComPort port("CommModBus");
  configure(port, path);
  port.Open();
  const double cpu0 = processCpuSeconds();
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = processCpuSeconds() - cpu0;
  port.Close();
  return 100.0 * cpu / wall;
}

}  // namespace bench
