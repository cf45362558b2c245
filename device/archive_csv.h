#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device {

// The archive grid as a spreadsheet file: UTF-8 with a byte-order mark, the
// grid's header row first, then one row per grid row with its five cells as
// the grid shows them, separated as the locale's spreadsheets expect
// (CsvListSeparator).
inline constexpr int kArchiveGridColumns = 5;
using ArchiveGridRow = std::array<std::string, kArchiveGridColumns>;

inline constexpr std::array<const char*, kArchiveGridColumns> kArchiveGridHeader = {
    "№", "Дата,время", "Измерение", "I,R,U", "Темп.XC "};

struct ArchiveGrid {
  ArchiveGridRow header;
  std::vector<ArchiveGridRow> rows;
  bool operator==(const ArchiveGrid&) const = default;
};

std::string EncodeArchiveCsv(const ArchiveGrid& grid, char separator);

// Either separator is taken, as the file's first cell ends; empty unless
// every row has the five cells of the grid.
std::optional<ArchiveGrid> DecodeArchiveCsv(std::string_view text);

}  // namespace device
