#pragma once

#include <string>
#include <string_view>

#include "modbus/byte_string.h"

namespace device {

// The eleven display fields of the debug page, each its prefix and a number.
struct DebugDataTexts {
  std::string seconds;       // stSec
  std::string minutes;       // stMin
  std::string hours;         // stHour
  std::string dayOfWeek;     // stDayWeek
  std::string day;           // stDay
  std::string month;         // stMonth
  std::string year;          // stYear
  std::string faultWord;     // stFlagError
  std::string coldJunction;  // stXC
  std::string physical;      // stFiz
  std::string parameter;     // stVal
  bool operator==(const DebugDataTexts&) const = default;
};

// A 04h result read as the current data block (input registers 0..12)
// whatever start and count were asked for: its first 29 bytes are address,
// function, byte count and the block's 26 data bytes. A shorter result (a
// result code, a short read) holds no block: nothing of it is read and every
// field is emptied, so no field keeps a value of an earlier reply.
DebugDataTexts FormatDebugDataTexts(const modbus::ExchangeResult& result,
                                    std::string_view decimalSeparator);

}  // namespace device
