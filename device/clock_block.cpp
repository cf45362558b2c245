#include "device/clock_block.h"

namespace device {

modbus::ByteString EncodeClockBlock(const ClockReading& time, int8_t correction) {
  return {static_cast<char>(time.seconds), static_cast<char>(time.minutes),
          static_cast<char>(time.hours),   static_cast<char>(time.dayOfWeek),
          static_cast<char>(time.day),     static_cast<char>(time.month),
          static_cast<char>(time.year),    static_cast<char>(correction)};
}

}  // namespace device
