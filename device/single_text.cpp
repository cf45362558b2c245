#include "device/single_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <system_error>

namespace device {

namespace {

constexpr size_t kSignificantDigits = 15;
// Digits after the point that hold the exact value of any single: m * 2^-149
// with m < 2^24 has at most 112 significant digits.
constexpr int kExactDecimals = 112;
// General notation is fixed-point for decimal exponents -4 .. 14.
constexpr int kSmallestFixedExponent = -4;
constexpr int kLargestFixedExponent = 14;

struct Decimal {
  std::string digits;  // first digit non-zero, no trailing zeros
  int exponent = 0;    // value = d.ddd * 10^exponent
};

// Adds one unit in the last place of a digit string; false on overflow ("99" -> "00").
bool increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return true;
    }
    *it = '0';
  }
  return false;
}

// A non-zero finite magnitude rounded to 15 significant digits. The widening
// to double is exact, and so is to_chars at this precision; it is also free
// of the C locale that a Qt application sets.
Decimal roundToSignificant(float magnitude) {
  char text[kExactDecimals + 16];
  const auto printed = std::to_chars(text, text + sizeof text, static_cast<double>(magnitude),
                                     std::chars_format::scientific, kExactDecimals);
  const std::string_view exact(text, static_cast<size_t>(printed.ptr - text));
  const size_t e = exact.find('e');
  Decimal d;
  d.exponent = std::atoi(std::string(exact.substr(e + 1)).c_str());
  std::string all(1, exact[0]);
  all.append(exact.substr(2, e - 2));
  d.digits = all.substr(0, kSignificantDigits);
  if (all[kSignificantDigits] >= '5' && !increment(d.digits)) {
    d.digits.insert(d.digits.begin(), '1');
    ++d.exponent;
  }
  d.digits.erase(d.digits.find_last_not_of('0') + 1);
  return d;
}

std::string fixed(const Decimal& d, std::string_view separator) {
  std::string integer;
  std::string fraction;
  if (d.exponent < 0) {
    integer = "0";
    fraction = std::string(static_cast<size_t>(-d.exponent - 1), '0') + d.digits;
  } else {
    const auto integerDigits = static_cast<size_t>(d.exponent) + 1;
    integer = d.digits.substr(0, integerDigits);
    integer.resize(integerDigits, '0');
    if (d.digits.size() > integerDigits) fraction = d.digits.substr(integerDigits);
  }
  return fraction.empty() ? integer : integer + std::string(separator) + fraction;
}

std::string scientific(const Decimal& d, std::string_view separator) {
  std::string text = d.digits.substr(0, 1);
  if (d.digits.size() > 1) text += std::string(separator) + d.digits.substr(1);
  return text + "E" + std::to_string(d.exponent);
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
  const Decimal d = roundToSignificant(std::fabs(value));
  const bool inFixedRange =
      d.exponent >= kSmallestFixedExponent && d.exponent <= kLargestFixedExponent;
  return sign + (inFixedRange ? fixed(d, separator) : scientific(d, separator));
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
