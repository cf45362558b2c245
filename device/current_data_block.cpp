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

std::optional<CurrentData> DecodeCurrentData(const DataImage& image) {
  if (image.size() < kBlockLength) return std::nullopt;
  CurrentData d;
  d.clock.seconds = *image.u8(0);
  d.clock.minutes = *image.u8(1);
  d.clock.hours = *image.u8(2);
  d.clock.dayOfWeek = *image.u8(3);
  d.clock.day = *image.u8(4);
  d.clock.month = *image.u8(5);
  d.clock.year = *image.u8(6);
  d.faultWord = *image.i16(kFaultWordOffset);
  d.setpointStates = *image.u8(kSetpointStatesOffset);
  d.relayStates = *image.u8(kRelayStatesOffset);
  d.coldJunction = *image.f32(kColdJunctionOffset);
  d.physical = *image.f32(kPhysicalOffset);
  d.parameter = *image.f32(kParameterOffset);
  return d;
}

}  // namespace device
