#include "device/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace device {

namespace {

constexpr int kSignificantDigits = 6;

struct Decimal {
  std::string digits;  // kSignificantDigits digits, the first non-zero unless the value is 0
  int exponent = 0;    // value = d.ddddd × 10^exponent
};

// The magnitude rounded to 6 significant digits. to_chars writes "d.ddddde+x"
// whatever the C library's numeric locale, which a Qt application sets from
// the environment (printf would write "d,ddddd" under a Russian locale).
Decimal roundToSignificant(double magnitude) {
  char text[32];
  const auto printed = std::to_chars(text, text + sizeof text, magnitude,
                                     std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view printedText(text, static_cast<size_t>(printed.ptr - text));
  const size_t e = printedText.find('e');
  Decimal d;
  d.digits = printedText.substr(0, 1);
  d.digits += printedText.substr(2, e - 2);
  // from_chars takes no "+" sign.
  std::string_view exponent = printedText.substr(e + 1);
  if (exponent.starts_with('+')) exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), d.exponent);
  return d;
}

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

std::string fixed(const Decimal& d, int decimals, std::string_view separator) {
  const int integerDigits = d.exponent + 1;
  std::string integer;
  std::string fraction;
  if (integerDigits <= 0) {
    integer = "0";
    fraction = std::string(static_cast<size_t>(-integerDigits), '0') + d.digits;
  } else {
    integer = d.digits.substr(0, static_cast<size_t>(integerDigits));
    fraction = d.digits.substr(static_cast<size_t>(integerDigits));
  }
  const auto kept = static_cast<size_t>(decimals);
  if (fraction.size() > kept) {
    const bool roundUp = fraction[kept] >= '5';
    fraction.resize(kept);
    if (roundUp) {
      std::string all = integer + fraction;
      if (!increment(all)) all.insert(all.begin(), '1');
      integer = all.substr(0, all.size() - kept);
      fraction = all.substr(all.size() - kept);
    }
  }
  fraction.resize(kept, '0');
  return fraction.empty() ? integer : integer + std::string(separator) + fraction;
}

// The exponent with its sign and at least two digits: "E+06", "E-05", "E+38".
std::string scientific(const Decimal& d, std::string_view separator) {
  std::string exponent = std::to_string(std::abs(d.exponent));
  if (exponent.size() < 2) exponent.insert(0, "0");
  return d.digits.substr(0, 1) + std::string(separator) + d.digits.substr(1) + "E" +
         (d.exponent < 0 ? "-" : "+") + exponent;
}

bool allZero(const std::string& text) {
  return text.find_first_of("123456789") == std::string::npos;
}

}  // namespace

std::string FormatMeasuredValue(double value, int decimals, std::string_view separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (decimals < 0) decimals = 0;

  const Decimal d = roundToSignificant(std::fabs(value));
  const bool zero = allZero(d.digits);
  const std::string body = !zero && d.exponent + 1 > kSignificantDigits
                               ? scientific(d, separator)
                               : fixed(d, decimals, separator);
  return value < 0 && !allZero(body) ? "-" + body : body;
}

}  // namespace device
