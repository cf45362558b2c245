#include "device/setpoint_blocks.h"

namespace device {

namespace {

using setpoint_offset::kRecordLength;
using setpoint_offset::kSingleWidth;
constexpr size_t kBlockLength = 2 * kScaleCount;

}  // namespace

std::optional<ScaleBlock> DecodeScaleBlock(const DataImage& image) {
  if (image.size() < kBlockLength) return std::nullopt;
  ScaleBlock scale;
  scale.keptByte = *image.u8(setpoint_offset::kKeptByte);
  scale.decimalPoint = *image.u8(setpoint_offset::kPoint);
  for (size_t i = 0; i < scale.ranges.size(); ++i) {
    scale.ranges[i] = *image.f32(setpoint_offset::kFirstRange + kSingleWidth * i);
  }
  return scale;
}

std::optional<SetpointPair> DecodeSetpointBlock(const DataImage& image) {
  if (image.size() < kBlockLength) return std::nullopt;
  SetpointPair records;
  for (size_t n = 0; n < records.size(); ++n) {
    const size_t at = kRecordLength * n;
    records[n].value = *image.f32(at + setpoint_offset::kValue);
    records[n].zone = *image.f32(at + setpoint_offset::kZone);
    records[n].flags = *image.u8(at + setpoint_offset::kFlags);
  }
  return records;
}

modbus::ByteString EncodePoint(const ScaleBlock& scale) {
  return {static_cast<char>(scale.keptByte), static_cast<char>(scale.decimalPoint)};
}

modbus::ByteString EncodeRanges(const ScaleBlock& scale) {
  DataImage image(kSingleWidth * scale.ranges.size());
  for (size_t i = 0; i < scale.ranges.size(); ++i) image.setF32(kSingleWidth * i, scale.ranges[i]);
  return image.bytes();
}

modbus::ByteString EncodeSetpointBlock(const SetpointPair& records) {
  DataImage image(kRecordLength * records.size());
  for (size_t n = 0; n < records.size(); ++n) {
    const size_t at = kRecordLength * n;
    image.setF32(at + setpoint_offset::kValue, records[n].value);
    image.setF32(at + setpoint_offset::kZone, records[n].zone);
    // The record's last byte is written as 0 (the image starts zeroed).
    image.setU8(at + setpoint_offset::kFlags, records[n].flags & setpoint_flag::kKnown);
  }
  return image.bytes();
}

}  // namespace device
