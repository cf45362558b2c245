#pragma once

#include <cstdint>

#include "modbus/exchange.h"

namespace device {

// The fixed timing sets of the device operations: overall limit, response
// delay, exchange delay (ms).
inline constexpr modbus::ExchangeTiming kStandardTiming{2500, 2000, 500};
inline constexpr modbus::ExchangeTiming kFastTiming{300, 50, 50};
inline constexpr modbus::ExchangeTiming kCalibrationTiming{4500, 4000, 1000};
inline constexpr modbus::ExchangeTiming kArchiveTiming{3000, 2500, 500};

// Address 0 is answered by any instrument on the line, whatever network
// address it keeps among its settings: the default, enough where one
// instrument is connected. 1..247 pick out one unit of a multi-drop line.
inline constexpr uint8_t kInstrumentAddress = 0;
inline constexpr int kHighestInstrumentAddress = 247;

// The main window's one record of where and how the operations talk to the
// instrument. Operations overwrite port, speed, address and exchange mode
// from the connection panel at their start; the measurement poll uses the
// record as it finds it.
struct LinkParameters {
  int portNumber = 1;  // n of COMn, 1..32
  int baudIndex = 0;   // 0..6 for 2400..115200 bit/s
  modbus::ExchangeTiming timing = kStandardTiming;
  uint8_t address = kInstrumentAddress;
  modbus::ExchangeMode mode = modbus::ExchangeMode::kWindowTiming;
};

}  // namespace device
