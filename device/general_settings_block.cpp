#include "device/general_settings_block.h"

namespace device {

namespace {

namespace offset = general_settings_offset;
constexpr size_t kBlockLength = 2 * kGeneralSettingsCount;

}  // namespace

std::optional<GeneralSettings> DecodeGeneralSettings(const DataImage& image) {
  if (image.size() < kBlockLength) return std::nullopt;
  GeneralSettings s;
  s.address = *image.u8(offset::kAddress);
  s.baudIndex = *image.u8(offset::kBaud);
  s.protocol = *image.u8(offset::kProtocol);
  s.inputType = *image.u8(offset::kInputType);
  s.filterPeriod = *image.u8(offset::kFilterPeriod);
  s.archivePeriod = *image.u8(offset::kArchivePeriod);
  s.switches = *image.u8(offset::kSwitches);
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
