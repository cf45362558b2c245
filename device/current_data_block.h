#pragma once

#include <cstdint>
#include <optional>

#include "device/data_image.h"

namespace device {

// Input registers 0..12: the instrument's clock, fault word, setpoint and
// relay states and the three measured values.
inline constexpr int32_t kCurrentDataStart = 0;
inline constexpr int32_t kCurrentDataCount = 13;

struct ClockReading {
  uint8_t seconds = 0;
  uint8_t minutes = 0;
  uint8_t hours = 0;
  uint8_t dayOfWeek = 0;  // 1 = Monday .. 7 = Sunday
  uint8_t day = 0;
  uint8_t month = 0;
  uint8_t year = 0;  // two digits
};

struct CurrentData {
  ClockReading clock;
  int16_t faultWord = 0;
  uint8_t setpointStates = 0;  // bit 0 = setpoint 1, set = active
  uint8_t relayStates = 0;     // bit 0 = relay 1, set = closed
  float coldJunction = 0;      // ambient temperature, degrees C
  float physical = 0;          // the measured physical quantity
  float parameter = 0;         // the measured parameter
};

// The clock's seven bytes at the start of the current data block and of an
// archive record; the image must hold them.
ClockReading DecodeClockReading(const DataImage& image);

// Empty unless the image holds the whole 26-byte block.
std::optional<CurrentData> DecodeCurrentData(const DataImage& image);

}  // namespace device
