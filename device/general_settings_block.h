#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "device/data_image.h"
#include "modbus/byte_string.h"

namespace device {

// Holding registers 0..12. Registers 2 and 4..11 inside the block hold the
// scale and setpoint data and are neither shown nor written here.
inline constexpr int32_t kGeneralSettingsStart = 0;
inline constexpr int32_t kGeneralSettingsCount = 13;

// The three writes, each the byte image of the registers it covers.
inline constexpr int32_t kLinkSettingsStart = 0;  // address, speed, protocol, input type
inline constexpr int32_t kLinkSettingsCount = 2;
inline constexpr int32_t kPeriodsStart = 3;  // filter period, archive period
inline constexpr int32_t kPeriodsCount = 1;
inline constexpr int32_t kSwitchesStart = 12;  // switches byte, then a byte always 0
inline constexpr int32_t kSwitchesCount = 1;

// Data-byte offsets of the fields in the block's image.
namespace general_settings_offset {
inline constexpr size_t kAddress = 0;
inline constexpr size_t kBaud = 1;
inline constexpr size_t kProtocol = 2;
inline constexpr size_t kInputType = 3;
inline constexpr size_t kFilterPeriod = 6;
inline constexpr size_t kArchivePeriod = 7;
inline constexpr size_t kSwitches = 24;
}  // namespace general_settings_offset

// Function switches (byte 24).
namespace switch_bit {
inline constexpr uint8_t kSquareRoot = 0x01;     // CheckBoxFlagCanSqr
inline constexpr uint8_t kColdJunction = 0x02;   // CheckBoxFlagCanXC
inline constexpr uint8_t kScaling = 0x04;        // CheckBoxFlagCanPreobrY
inline constexpr uint8_t kOutputCurrent = 0x08;  // CheckBoxFlagCanIout
}  // namespace switch_bit

struct GeneralSettings {
  uint8_t address = 0;
  uint8_t baudIndex = 0;  // the instrument's own interface speed, 0..6
  uint8_t protocol = 0;   // 0 MODBUS-ASCII, 1 MODBUS-RTU
  uint8_t inputType = 0;  // 0..25
  uint8_t filterPeriod = 0;
  uint8_t archivePeriod = 0;
  uint8_t switches = 0;
  bool operator==(const GeneralSettings&) const = default;
};

// Empty unless the image holds the whole 26-byte block.
std::optional<GeneralSettings> DecodeGeneralSettings(const DataImage& image);

modbus::ByteString EncodeLinkSettings(const GeneralSettings& settings);
modbus::ByteString EncodePeriods(const GeneralSettings& settings);
modbus::ByteString EncodeSwitches(const GeneralSettings& settings);

}  // namespace device
