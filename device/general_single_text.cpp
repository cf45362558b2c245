#include "device/general_single_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "device/single_decimal.h"

namespace device {

namespace {

constexpr size_t kSignificantDigits = 8;
// Fixed notation from 0.00001 up to 8 digits before the separator.
constexpr int kSmallestFixedExponent = -5;
constexpr int kLargestFixedExponent = 7;
constexpr int kExponentDigits = 3;

std::string scientific(const SingleDecimal& d, std::string_view separator) {
  const std::string text = MantissaText(d, separator);
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
  const SingleDecimal d = RoundSingle(std::fabs(value), kSignificantDigits);
  const bool inFixedRange =
      d.exponent >= kSmallestFixedExponent && d.exponent <= kLargestFixedExponent;
  return std::string(value < 0 ? "-" : "") +
         (inFixedRange ? FixedText(d, separator) : scientific(d, separator));
}

}  // namespace device
