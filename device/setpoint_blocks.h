#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "device/data_image.h"
#include "modbus/byte_string.h"

namespace device {

// Scale block, holding registers 2..11: a byte the instrument keeps (only
// preserved), the decimal-point code, register 3 (a general setting, read
// with the block and never written here), then the measuring and bar-graph
// ranges as singles holding raw counts (the shown number times 10^d).
inline constexpr int32_t kScaleStart = 2;
inline constexpr int32_t kScaleCount = 10;
inline constexpr int32_t kPointStart = 2;  // kept byte, decimal-point code
inline constexpr int32_t kPointCount = 1;
inline constexpr int32_t kRangesStart = 4;
inline constexpr int32_t kRangesCount = 8;

// Setpoint blocks: two records of five registers each, setpoints 1 and 2 at
// 13..22, 3 and 4 at 23..32.
inline constexpr int32_t kSetpointBlockCount = 10;
inline constexpr std::array<int32_t, 2> kSetpointBlockStarts = {13, 23};
inline constexpr int kSetpointsPerBlock = 2;
inline constexpr int kRangeCount = 4;  // Y0, YK, Z0, ZK

// Data-byte offsets: of the scale block's fields, and of a setpoint record's
// fields within the record.
namespace setpoint_offset {
inline constexpr size_t kKeptByte = 0;
inline constexpr size_t kPoint = 1;
inline constexpr size_t kFirstRange = 4;
inline constexpr size_t kSingleWidth = 4;
inline constexpr size_t kRecordLength = 10;
inline constexpr size_t kValue = 0;
inline constexpr size_t kZone = 4;
inline constexpr size_t kFlags = 8;
inline constexpr size_t kSpare = 9;  // ignored when read, written as 0
}  // namespace setpoint_offset

struct ScaleBlock {
  uint8_t keptByte = 0;
  uint8_t decimalPoint = 0;
  std::array<float, kRangeCount> ranges{};  // raw counts
};

// Flags byte of a setpoint record; bits 5..7 are not the configurator's and
// go out as 0.
namespace setpoint_flag {
inline constexpr uint8_t kGreater = 0x01;           // "Больше", else "Меньше"
inline constexpr uint8_t kRate = 0x02;              // "Скорость", else "Значение"
inline constexpr uint8_t kRelayStartClosed = 0x04;  // relay starts "Замкнуто"
inline constexpr uint8_t kRelayBreakClosed = 0x08;  // relay "Замкнуто" on a sensor break
inline constexpr uint8_t kEnabled = 0x10;
inline constexpr uint8_t kKnown = 0x1F;
}  // namespace setpoint_flag

struct SetpointRecord {
  float value = 0;  // raw counts
  float zone = 0;   // return zone, raw counts
  uint8_t flags = 0;
};

using SetpointPair = std::array<SetpointRecord, kSetpointsPerBlock>;

// Empty unless the image holds the whole block.
std::optional<ScaleBlock> DecodeScaleBlock(const DataImage& image);
std::optional<SetpointPair> DecodeSetpointBlock(const DataImage& image);

modbus::ByteString EncodePoint(const ScaleBlock& scale);
modbus::ByteString EncodeRanges(const ScaleBlock& scale);
modbus::ByteString EncodeSetpointBlock(const SetpointPair& records);

}  // namespace device
