// Time an exchange spends beyond its response and exchange delays, and the CPU
// it burns while waiting, against a port that answers the moment it is written.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include "modbus/blocking_event_pump.h"
#include "modbus/frame_codec.h"
#include "modbus/requests.h"
#include "modbus/steady_tick.h"
#include "tests/modbus/immediate_port.h"

namespace {

using modbus::ByteString;

constexpr int kExchanges = 200;
constexpr modbus::ExchangeTiming kTiming{100, 5, 5};

}  // namespace

int main() {
  const ByteString reply{'\x00', '\x03', '\x02', '\x12', '\x34'};
  modbus::testing::ImmediatePort port(modbus::BuildFrame(reply));
  modbus::SteadyTick tick;
  modbus::BlockingEventPump pump;
  const modbus::LinkServices link{port, tick, pump, nullptr};

  std::vector<double> overheadMs;
  overheadMs.reserve(kExchanges);
  int failures = 0;
  const auto wallStart = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  for (int i = 0; i < kExchanges; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    const modbus::ExchangeResult r = modbus::ReadHoldingRegisters(link, 1, 2, kTiming, 0, 0, 1);
    const auto t1 = std::chrono::steady_clock::now();
    if (r != reply) ++failures;
    const double ms = std::chrono::duration<double, std::milli>(t1 - t0).count();
    overheadMs.push_back(ms - kTiming.responseDelay - kTiming.exchangeDelay);
  }
  const std::clock_t cpuEnd = std::clock();
  const double wallS =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  const double cpuS = static_cast<double>(cpuEnd - cpuStart) / CLOCKS_PER_SEC;

  std::sort(overheadMs.begin(), overheadMs.end());
  const double median = overheadMs[overheadMs.size() / 2];
  std::printf("exchanges %d, failed %d, response delay %d ms, exchange delay %d ms\n", kExchanges,
              failures, kTiming.responseDelay, kTiming.exchangeDelay);
  std::printf("overhead min %.3f ms, median %.3f ms, max %.3f ms; wall %.3f s, cpu %.3f s\n",
              overheadMs.front(), median, overheadMs.back(), wallS, cpuS);
  std::printf("BENCH exchange overhead_ms=%.3f cpu_pct=%.2f\n", median, 100.0 * cpuS / wallS);
  return failures == 0 ? 0 : 1;
}
