#pragma once

#include <cstdint>

#include "modbus/byte_string.h"

namespace device {

// HR 9000..9001, written whole with one request: the command code, a byte
// always 0, then a signed 16-bit value. Codes 0..25 calibrate the point of
// that code; 1Ah drives the output current.
inline constexpr int32_t kCalibrationCommandStart = 9000;
inline constexpr int32_t kCalibrationCommandCount = 2;
inline constexpr int kCalibrationPointCount = 26;
inline constexpr uint8_t kSetOutputCurrentCommand = 0x1A;

modbus::ByteString EncodeCalibrationCommand(uint8_t command, int16_t value);

}  // namespace device
