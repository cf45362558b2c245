#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device {

// Text tables for spreadsheets. Where the locale writes numbers with a
// decimal comma, spreadsheets expect ";" between cells, otherwise ",". A
// cell holding the separator, a quote, a line break or blanks at either end
// is quoted ("" for a quote inside), so every text comes back as it was.
char CsvListSeparator(std::string_view decimalSeparator);

inline constexpr std::string_view kCsvLineEnd = "\r\n";

void AppendCsvRow(std::string& text, const std::vector<std::string>& cells, char separator);

// The rows of a text written by AppendCsvRow; blank lines are skipped. Empty
// when a quote is left open.
std::optional<std::vector<std::vector<std::string>>> SplitCsvRows(std::string_view text,
                                                                  char separator);

}  // namespace device
