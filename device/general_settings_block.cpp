#include "device/general_settings_block.h"

namespace device {

namespace {

constexpr size_t kAddressOffset = 0;
constexpr size_t kBaudOffset = 1;
constexpr size_t kProtocolOffset = 2;
constexpr size_t kInputTypeOffset = 3;
constexpr size_t kFilterOffset = 6;
constexpr size_t kArchiveOffset = 7;
constexpr size_t kSwitchesOffset = 24;
constexpr size_t kBlockLength = 2 * kGeneralSettingsCount;

}  // namespace

std::optional<GeneralSettings> DecodeGeneralSettings(const DataImage& image) {
  if (image.size() < kBlockLength) return std::nullopt;
  GeneralSettings s;
  s.address = *image.u8(kAddressOffset);
  s.baudIndex = *image.u8(kBaudOffset);
  s.protocol = *image.u8(kProtocolOffset);
  s.inputType = *image.u8(kInputTypeOffset);
  s.filterPeriod = *image.u8(kFilterOffset);
  s.archivePeriod = *image.u8(kArchiveOffset);
  s.switches = *image.u8(kSwitchesOffset);
  return s;
}

modbus::ByteString EncodeLinkSettings(const GeneralSettings& settings) {
  return {static_cast<char>(settings.address), static_cast<char>(settings.baudIndex),
          static_cast<char>(settings.protocol), static_cast<char>(settings.inputType)};
}

modbus::ByteString EncodePeriods(const GeneralSettings& settings) {
  return {static_cast<char>(settings.filterPeriod), static_cast<char>(settings.archivePeriod)};
}

modbus::ByteString EncodeSwitches(const GeneralSettings& settings) {
  // The second byte of register 12 is not the instrument's to keep: always 0.
  return {static_cast<char>(settings.switches), '\0'};
}

}  // namespace device
