#include "device/archive_csv.h"

#include "device/csv_text.h"

namespace device {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kSeparators = ";,\t";

std::vector<std::string> cellsOf(const ArchiveGridRow& row) { return {row.begin(), row.end()}; }

std::optional<ArchiveGridRow> gridRow(std::vector<std::string>& cells) {
  if (cells.size() != kArchiveGridColumns) return std::nullopt;
  ArchiveGridRow row;
  for (size_t i = 0; i < row.size(); ++i) row[i] = std::move(cells[i]);
  return row;
}

}  // namespace

std::string EncodeArchiveCsv(const ArchiveGrid& grid, char separator) {
  std::string text(kByteOrderMark);
  AppendCsvRow(text, cellsOf(grid.header), separator);
  for (const ArchiveGridRow& row : grid.rows) AppendCsvRow(text, cellsOf(row), separator);
  return text;
}

std::optional<ArchiveGrid> DecodeArchiveCsv(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  // The first cell ("№") is never quoted: the character after it is the
  // separator the file was written with.
  const size_t end = text.find_first_of(kSeparators);
  if (end == std::string_view::npos || end == 0 ||
      text.substr(0, end).find_first_of("\"\r\n") != std::string_view::npos) {
    return std::nullopt;
  }
  auto rows = SplitCsvRows(text, text[end]);
  if (!rows || rows->empty()) return std::nullopt;
  ArchiveGrid grid;
  const auto header = gridRow(rows->front());
  if (!header) return std::nullopt;
  grid.header = *header;
  for (size_t r = 1; r < rows->size(); ++r) {
    const auto row = gridRow((*rows)[r]);
    if (!row) return std::nullopt;
    grid.rows.push_back(*row);
  }
  return grid;
}

}  // namespace device
