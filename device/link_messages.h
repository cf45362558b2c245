#pragma once

namespace device {

// Failure texts shared by the device operations.
inline constexpr const char* kCannotOpenPortText = "Не могу открыть порт";
inline constexpr const char* kNoConnectionText = "Нет связи с прибором";
inline constexpr const char* kSettingsWrittenText = "Настройки записаны";
inline constexpr const char* kBadInstrumentAddressText = "Адрес прибора должен быть от 0 до 247";

}  // namespace device
