#pragma once

#include <cstdint>

namespace sim {

// The instrument's real-time clock as it keeps it: plain binary bytes, not BCD.
struct ClockTime {
  uint8_t seconds = 0;
  uint8_t minutes = 0;
  uint8_t hours = 0;
  uint8_t dayOfWeek = 1;  // 1 = Monday .. 7 = Sunday
  uint8_t day = 1;
  uint8_t month = 1;
  uint8_t year = 0;  // two digits, 20yy

  bool operator==(const ClockTime&) const = default;
};

}  // namespace sim
