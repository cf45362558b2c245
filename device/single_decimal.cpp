#include "device/single_decimal.h"

#include <charconv>

namespace device {

namespace {

// Digits after the point that hold the exact value of any single: m * 2^-149
// with m < 2^24 has at most 112 significant digits.
constexpr int kExactDecimals = 112;

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

}  // namespace

SingleDecimal RoundSingle(float magnitude, size_t significantDigits) {
  // to_chars prints the exact value at this precision, and is free of the C
  // locale that a Qt application sets.
  char text[kExactDecimals + 16];
  const auto printed = std::to_chars(text, text + sizeof text, static_cast<double>(magnitude),
                                     std::chars_format::scientific, kExactDecimals);
  const std::string_view exact(text, static_cast<size_t>(printed.ptr - text));
  const size_t e = exact.find('e');
  SingleDecimal d;
  // from_chars takes no "+" sign.
  std::string_view exponent = exact.substr(e + 1);
  if (exponent.starts_with('+')) exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), d.exponent);
  std::string all(1, exact[0]);
  all.append(exact.substr(2, e - 2));
  d.digits = all.substr(0, significantDigits);
  if (all[significantDigits] >= '5' && !increment(d.digits)) {
    d.digits.insert(d.digits.begin(), '1');
    d.digits.pop_back();
    ++d.exponent;
  }
  d.digits.erase(d.digits.find_last_not_of('0') + 1);
  return d;
}

std::string FixedText(const SingleDecimal& d, std::string_view separator) {
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

std::string MantissaText(const SingleDecimal& d, std::string_view separator) {
  std::string text = d.digits.substr(0, 1);
  if (d.digits.size() > 1) text += std::string(separator) + d.digits.substr(1);
  return text;
}

}  // namespace device
