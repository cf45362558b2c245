#pragma once

#include <cstdint>

#include "device/current_data_block.h"
#include "modbus/byte_string.h"

namespace device {

// Holding registers 4000..4003, write only: the clock in plain binary bytes
// (not BCD) and the correction as a signed byte.
inline constexpr int32_t kClockStart = 4000;
inline constexpr int32_t kClockCount = 4;
inline constexpr int kMinCorrection = -9;
inline constexpr int kMaxCorrection = 9;

modbus::ByteString EncodeClockBlock(const ClockReading& time, int8_t correction);

}  // namespace device
