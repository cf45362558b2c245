#include "device/number_parsing.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace device {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view skipLeadingBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

std::string_view trimBlanks(std::string_view text) {
  text = skipLeadingBlanks(text);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<int32_t> ParseInteger(std::string_view text) {
  text = skipLeadingBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::string IntegerConversionErrorText(std::string_view text) {
  // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) on "'" + std::string.
  std::string message(1, '\'');
  message.append(text).append("' is not a valid integer value");
  return message;
}

std::optional<double> ParseDecimal(std::string_view text, std::string_view separator) {
  text = trimBlanks(text);
  // Rewritten into the one form from_chars reads whatever the C locale is.
  std::string plain;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  int mantissaDigits = 0;
  bool separatorSeen = false;
  while (i < text.size()) {
    if (isDigit(text[i])) {
      plain += text[i++];
      ++mantissaDigits;
    } else if (!separatorSeen && !separator.empty() && text.substr(i).starts_with(separator)) {
      plain += '.';
      i += separator.size();
      separatorSeen = true;
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    int exponentDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
      plain += text[i++];
      ++exponentDigits;
    }
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace device
