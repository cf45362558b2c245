#include "device/csv_text.h"

namespace device {

namespace {

constexpr char kQuote = '"';

bool needsQuotes(std::string_view cell, char separator) {
  if (cell.empty()) return false;
  if (cell.front() == ' ' || cell.back() == ' ') return true;
  for (char c : cell) {
    if (c == separator || c == kQuote || c == '\r' || c == '\n') return true;
  }
  return false;
}

}  // namespace

char CsvListSeparator(std::string_view decimalSeparator) {
  return decimalSeparator == "," ? ';' : ',';
}

void AppendCsvRow(std::string& text, const std::vector<std::string>& cells, char separator) {
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) text += separator;
    if (!needsQuotes(cells[i], separator)) {
      text += cells[i];
      continue;
    }
    text += kQuote;
    for (char c : cells[i]) {
      if (c == kQuote) text += kQuote;
      text += c;
    }
    text += kQuote;
  }
  text += kCsvLineEnd;
}

std::optional<std::vector<std::vector<std::string>>> SplitCsvRows(std::string_view text,
                                                                  char separator) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string cell;
  bool quoted = false;
  bool rowStarted = false;
  const auto endRow = [&] {
    if (rowStarted) {
      row.push_back(std::move(cell));
      rows.push_back(std::move(row));
    }
    cell.clear();
    row.clear();
    rowStarted = false;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != kQuote) {
        cell += c;
      } else if (i + 1 < text.size() && text[i + 1] == kQuote) {
        cell += kQuote;
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == kQuote) {
      quoted = rowStarted = true;
    } else if (c == separator) {
      row.push_back(std::move(cell));
      cell.clear();
      rowStarted = true;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      endRow();
    } else {
      cell += c;
      rowStarted = true;
    }
  }
  if (quoted) return std::nullopt;
  endRow();
  return rows;
}

}  // namespace device
