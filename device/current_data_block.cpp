#include "device/current_data_block.h"

namespace device {

namespace {

constexpr size_t kFaultWordOffset = 8;
constexpr size_t kSetpointStatesOffset = 12;
constexpr size_t kRelayStatesOffset = 13;
constexpr size_t kColdJunctionOffset = 14;
constexpr size_t kPhysicalOffset = 18;
constexpr size_t kParameterOffset = 22;
constexpr size_t kBlockLength = 2 * kCurrentDataCount;

}  // namespace

ClockReading DecodeClockReading(const DataImage& image) {
  ClockReading c;
  c.seconds = *image.u8(0);
  c.minutes = *image.u8(1);
  c.hours = *image.u8(2);
  c.dayOfWeek = *image.u8(3);
  c.day = *image.u8(4);
  c.month = *image.u8(5);
  c.year = *image.u8(6);
  return c;
}

std::optional<CurrentData> DecodeCurrentData(const DataImage& image) {
  if (image.size() < kBlockLength) return std::nullopt;
  CurrentData d;
  d.clock = DecodeClockReading(image);
  d.faultWord = *image.i16(kFaultWordOffset);
  d.setpointStates = *image.u8(kSetpointStatesOffset);
  d.relayStates = *image.u8(kRelayStatesOffset);
  d.coldJunction = *image.f32(kColdJunctionOffset);
  d.physical = *image.f32(kPhysicalOffset);
  d.parameter = *image.f32(kParameterOffset);
  return d;
}

}  // namespace device
