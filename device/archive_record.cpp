#include "device/archive_record.h"

#include "device/date_time_text.h"
#include "device/number_text.h"

namespace device {

namespace {

constexpr size_t kRecordLength = 2 * kArchiveRecordCount;
constexpr size_t kColdJunctionOffset = 14;
constexpr size_t kMeasuredOffset = 18;
constexpr size_t kInputOffset = 22;
constexpr int kDecimals = 1;

}  // namespace

std::optional<ArchiveRecord> DecodeArchiveRecord(const DataImage& image) {
  if (image.size() < kRecordLength) return std::nullopt;
  ArchiveRecord r;
  r.time = DecodeClockReading(image);
  r.coldJunction = *image.f32(kColdJunctionOffset);
  r.measuredValue = *image.f32(kMeasuredOffset);
  r.inputSignal = *image.f32(kInputOffset);
  return r;
}

ArchiveRowTexts FormatArchiveRecord(const ArchiveRecord& r, std::string_view separator) {
  const ClockReading& t = r.time;
  return {DateText(t.day, t.month, t.year) + " " + TimeText(t.hours, t.minutes, t.seconds) + "  ",
          FormatMeasuredValue(r.measuredValue, kDecimals, separator),
          FormatMeasuredValue(r.inputSignal, kDecimals, separator),
          FormatMeasuredValue(r.coldJunction, kDecimals, separator)};
}

}  // namespace device
