#pragma once

namespace device {

// Failure texts shared by the device operations.
inline constexpr const char* kCannotOpenPortText = "Не могу открыть порт";
inline constexpr const char* kNoConnectionText = "Нет связи с прибором";

}  // namespace device
