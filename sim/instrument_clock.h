#pragma once

#include <chrono>
#include <cstdint>

#include "sim/clock_time.h"

namespace sim {

// Seconds since 2000-01-01 00:00:00 of a clock reading. Out-of-range fields
// (day 31 of February, hour 25) carry into the next unit, as the instrument's
// clock does when it next ticks.
int64_t SecondsSince2000(const ClockTime& time);
// The reading of a second count; the day of week is taken as given.
ClockTime ClockAtSeconds(int64_t seconds, uint8_t dayOfWeek);
// Day of week, 1 = Monday .. 7 = Sunday, of a second count.
uint8_t DayOfWeekAt(int64_t seconds);

// The running real-time clock: it keeps the written day of week and steps it
// at midnight, like a clock chip that counts it on its own.
class InstrumentClock {
 public:
  explicit InstrumentClock(const ClockTime& start);

  ClockTime now() const { return time_; }
  void set(const ClockTime& time);
  void advance(std::chrono::milliseconds elapsed);

 private:
  ClockTime time_;
  std::chrono::milliseconds pending_{0};
};

// The host's local time as a clock reading.
ClockTime HostLocalClock();

}  // namespace sim
