#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace device {

// What the write operations call their requests in a report (BlockWriteReport).
inline constexpr const char* kLinkSettingsWriteName = "адрес, скорость, протокол, тип входа";
inline constexpr const char* kPeriodsWriteName = "период фильтрации, период архивирования";
inline constexpr const char* kSwitchesWriteName = "флажки функций";
inline constexpr const char* kPointWriteName = "положение запятой";
inline constexpr const char* kRangesWriteName = "диапазоны";
inline constexpr std::array<const char*, 2> kSetpointPairWriteNames = {"уставки 1 и 2",
                                                                       "уставки 3 и 4"};

// The name of the request of the general settings, the setpoints or the
// calibration coefficients that writes from `start` on; empty for any other.
std::string WriteBlockNameAt(int32_t start);

}  // namespace device
