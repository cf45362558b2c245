#pragma once

#include <chrono>
#include <cstdint>

#include "modbus/platform_services.h"

namespace modbus {

// The platform's 32-bit millisecond tick taken from std::chrono::steady_clock.
// A scale k makes the tick run k ms per real ms, so that the fixed timing sets
// of the device operations can be kept while end-to-end tests run k times faster.
class SteadyTick : public TickSource {
 public:
  // Starts at the steady clock's own millisecond count, truncated to 32 bits.
  explicit SteadyTick(uint32_t scale = 1);
  // Starts at `startTick`, e.g. just below 2^32 to cross the wrap in a test.
  SteadyTick(uint32_t scale, uint32_t startTick);

  uint32_t Tick() override;
  // Rounded up, so that a wait of this length never ends before the tick
  // has advanced by `tickMs`.
  std::chrono::microseconds RealDuration(int32_t tickMs) override;

 private:
  std::chrono::steady_clock::time_point origin_;
  uint32_t scale_;
  uint32_t startTick_;
};

}  // namespace modbus
