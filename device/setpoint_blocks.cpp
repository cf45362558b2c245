#include "device/setpoint_blocks.h"

namespace device {

namespace {

constexpr size_t kKeptByteOffset = 0;
constexpr size_t kPointOffset = 1;
constexpr size_t kFirstRangeOffset = 4;
constexpr size_t kSingleWidth = 4;
constexpr size_t kRecordLength = 10;
constexpr size_t kZoneOffset = 4;
constexpr size_t kFlagsOffset = 8;
constexpr size_t kBlockLength = 2 * kScaleCount;

}  // namespace

std::optional<ScaleBlock> DecodeScaleBlock(const DataImage& image) {
  if (image.size() < kBlockLength) return std::nullopt;
  ScaleBlock scale;
  scale.keptByte = *image.u8(kKeptByteOffset);
  scale.decimalPoint = *image.u8(kPointOffset);
  for (size_t i = 0; i < scale.ranges.size(); ++i) {
    scale.ranges[i] = *image.f32(kFirstRangeOffset + kSingleWidth * i);
  }
  return scale;
}

std::optional<SetpointPair> DecodeSetpointBlock(const DataImage& image) {
  if (image.size() < kBlockLength) return std::nullopt;
  SetpointPair records;
  for (size_t n = 0; n < records.size(); ++n) {
    const size_t at = kRecordLength * n;
    records[n].value = *image.f32(at);
    records[n].zone = *image.f32(at + kZoneOffset);
    records[n].flags = *image.u8(at + kFlagsOffset);
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
    image.setF32(at, records[n].value);
    image.setF32(at + kZoneOffset, records[n].zone);
    // The record's last byte is written as 0 (the image starts zeroed).
    image.setU8(at + kFlagsOffset, records[n].flags & setpoint_flag::kKnown);
  }
  return image.bytes();
}

}  // namespace device
