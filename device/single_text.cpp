#include "device/single_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "device/single_decimal.h"

namespace device {

namespace {

constexpr size_t kSignificantDigits = 15;
// General notation is fixed-point for decimal exponents -4 .. 14.
constexpr int kSmallestFixedExponent = -4;
constexpr int kLargestFixedExponent = 14;

std::string scientific(const SingleDecimal& d, std::string_view separator) {
  return MantissaText(d, separator) + "E" + std::to_string(d.exponent);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Saturated far beyond any exponent a single can reach.
constexpr int64_t kExponentLimit = 1'000'000;

}  // namespace

std::string FormatSingle(float value, std::string_view separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  const std::string sign = std::signbit(value) ? "-" : "";
  if (value == 0) return sign + "0";
  const SingleDecimal d = RoundSingle(std::fabs(value), kSignificantDigits);
  const bool inFixedRange =
      d.exponent >= kSmallestFixedExponent && d.exponent <= kLargestFixedExponent;
  return sign + (inFixedRange ? FixedText(d, separator) : scientific(d, separator));
}

std::optional<float> ParseSingle(std::string_view text, std::string_view separator) {
  text = trimBlanks(text);
  // Rewritten into the one form from_chars reads, whatever the C locale is.
  std::string plain;
  bool negative = false;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    if (negative) plain += '-';
    ++i;
  }
  int64_t integerDigits = 0;
  int64_t fractionDigits = 0;
  // Position of the first non-zero digit among the mantissa's digits: with
  // the exponent it tells a number too small for a single from one too large
  // when from_chars gives up on both.
  std::optional<int64_t> firstNonZero;
  bool separatorSeen = false;
  while (i < text.size()) {
    if (isDigit(text[i])) {
      if (text[i] != '0' && !firstNonZero) firstNonZero = integerDigits + fractionDigits;
      if (separatorSeen) {
        ++fractionDigits;
      } else {
        ++integerDigits;
      }
      plain += text[i++];
    } else if (!separatorSeen && !separator.empty() && text.substr(i).starts_with(separator)) {
      plain += '.';
      i += separator.size();
      separatorSeen = true;
    } else {
      break;
    }
  }
  if (integerDigits + fractionDigits == 0) return std::nullopt;
  int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      plain += text[i++];
    }
    size_t exponentDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
      if (exponent < kExponentLimit) exponent = exponent * 10 + (text[i] - '0');
      plain += text[i++];
      ++exponentDigits;
    }
    if (exponentDigits == 0) return std::nullopt;
    if (negativeExponent) exponent = -exponent;
  }
  if (i != text.size()) return std::nullopt;
  if (!firstNonZero) return negative ? -0.0f : 0.0f;

  float value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (end != plain.data() + plain.size()) return std::nullopt;
  // The decimal exponent of the leading digit: d.ddd * 10^magnitude.
  const int64_t magnitude = integerDigits - 1 - *firstNonZero + exponent;
  if (error == std::errc::result_out_of_range && magnitude < 0) {
    // Below half the smallest subnormal: the nearest single is zero.
    return negative ? -0.0f : 0.0f;
  }
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace device
