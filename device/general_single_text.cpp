#include "device/general_single_text.h"

#include <cmath>
#include <cstdlib>

#include "device/single_decimal.h"

namespace device {

namespace {

constexpr size_t kSignificantDigits = 8;
// Fixed notation from 0.00001 up to 8 digits before the separator.
constexpr int kSmallestFixedExponent = -5;
constexpr int kLargestFixedExponent = 7;
constexpr size_t kExponentDigits = 3;

std::string scientific(const SingleDecimal& d, std::string_view separator) {
  std::string exponent = std::to_string(std::abs(d.exponent));
  if (exponent.size() < kExponentDigits) exponent.insert(0, kExponentDigits - exponent.size(), '0');
  return MantissaText(d, separator) + "E" + (d.exponent < 0 ? "-" : "") + exponent;
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
