#pragma once

#include <array>
#include <string>
#include <string_view>

#include "trend/trend_samples.h"

namespace trend {

inline constexpr int kTrendCsvColumns = 5;
inline constexpr std::array<const char*, kTrendCsvColumns> kTrendCsvHeader = {
    "Дата,время", "Измеряемая величина", "Измеряемый параметр", "Температура окружающей среды, С",
    "Код ошибки"};

// The polls as a spreadsheet file in the archive file's conventions: UTF-8
// with a byte-order mark, the cells separated as the locale's spreadsheets
// expect, the numbers as the page "Измерения" shows them. The time is the
// PC's local time of the poll ("dd.mm.yy hh:mm:ss"); a poll without an answer
// has empty values and "Прибор не отвечает" for its code.
std::string EncodeTrendCsv(const TrendSamples& trend, std::string_view decimalSeparator);

}  // namespace trend
