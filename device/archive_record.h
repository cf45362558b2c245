#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "device/current_data_block.h"
#include "device/data_image.h"

namespace device {

// Archive windows: 16 holding registers each return one record.
inline constexpr int32_t kArchiveRecordCount = 16;
inline constexpr int32_t kArchiveNewestStart = 9018;    // the last record
inline constexpr int32_t kArchivePreviousStart = 9050;  // the one before the record read last

struct ArchiveRecord {
  ClockReading time;
  float coldJunction = 0;
  float measuredValue = 0;
  float inputSignal = 0;
};

// The grid's columns 1 to 4: "Дата,время", "Измерение", "I,R,U", "Темп.XC ".
inline constexpr int kArchiveTextColumns = 4;
using ArchiveRowTexts = std::array<std::string, kArchiveTextColumns>;

// Empty unless the image holds the whole 32-byte record.
std::optional<ArchiveRecord> DecodeArchiveRecord(const DataImage& image);

// "05.03.24 14:07:09" and two blanks; the values with one decimal.
ArchiveRowTexts FormatArchiveRecord(const ArchiveRecord& record, std::string_view separator);

}  // namespace device
