#include "trend/trend_csv.h"

#include <chrono>
#include <vector>

#include "device/csv_text.h"
#include "device/date_time_text.h"
#include "device/measurement_poll.h"
#include "device/number_text.h"

namespace trend {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kValueDecimals = 3;
constexpr int kColdJunctionDecimals = 1;

std::string localTimeText(const Sample& sample) {
  using namespace std::chrono;
  const sys_time<milliseconds> local{milliseconds{sample.timeMs} +
                                     seconds{sample.utcOffsetSeconds}};
  const sys_days day = floor<days>(local);
  const year_month_day date{day};
  const hh_mm_ss<milliseconds> time{local - day};
  return device::DateText(static_cast<int>(static_cast<unsigned>(date.day())),
                          static_cast<int>(static_cast<unsigned>(date.month())),
                          static_cast<int>(date.year()) % 100) +
         " " +
         device::TimeText(static_cast<int>(time.hours().count()),
                          static_cast<int>(time.minutes().count()),
                          static_cast<int>(time.seconds().count()));
}

}  // namespace

std::string EncodeTrendCsv(const TrendSamples& trend, std::string_view decimalSeparator) {
  const char separator = device::CsvListSeparator(decimalSeparator);
  std::string text(kByteOrderMark);
  device::AppendCsvRow(text, {kTrendCsvHeader.begin(), kTrendCsvHeader.end()}, separator);
  for (const Sample& sample : trend.samples()) {
    std::vector<std::string> cells{localTimeText(sample)};
    if (sample.answered) {
      cells.push_back(device::FormatMeasuredValue(sample.value(Series::kPhysical), kValueDecimals,
                                                  decimalSeparator));
      cells.push_back(device::FormatMeasuredValue(sample.value(Series::kParameter), kValueDecimals,
                                                  decimalSeparator));
      cells.push_back(device::FormatMeasuredValue(sample.value(Series::kColdJunction),
                                                  kColdJunctionDecimals, decimalSeparator));
      cells.push_back(std::to_string(sample.faultWord));
    } else {
      cells.insert(cells.end(), {"", "", "", device::kNoAnswerText});
    }
    device::AppendCsvRow(text, cells, separator);
  }
  return text;
}

}  // namespace trend
