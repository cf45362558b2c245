#include "device/general_single_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace device {

namespace {

constexpr size_t kSignificantDigits = 8;
// Digits after the point that hold the exact value of any single: m * 2^-149
// with m < 2^24 has at most 112 significant digits.
constexpr int kExactDecimals = 112;
// Fixed notation from 0.00001 up to 8 digits before the separator.
constexpr int kSmallestFixedExponent = -5;
constexpr int kLargestFixedExponent = 7;
constexpr int kExponentDigits = 3;

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

// A non-zero finite magnitude rounded to 8 significant digits. The widening
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
    d.digits.pop_back();
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
  char exponent[16];  // "E", a sign and any int
  std::snprintf(exponent, sizeof exponent, "E%s%0*d", d.exponent < 0 ? "-" : "", kExponentDigits,
                std::abs(d.exponent));
  return text + exponent;
}

}  // namespace

std::string FormatGeneralSingle(float value, std::string_view separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  const Decimal d = roundToSignificant(std::fabs(value));
  const bool inFixedRange =
      d.exponent >= kSmallestFixedExponent && d.exponent <= kLargestFixedExponent;
  return std::string(value < 0 ? "-" : "") +
         (inFixedRange ? fixed(d, separator) : scientific(d, separator));
}

}  // namespace device
