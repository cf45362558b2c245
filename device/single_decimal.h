#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace device {

// The exact value of a single (its widening to double is exact) rounded to a
// number of significant digits, halves away from zero.
struct SingleDecimal {
  std::string digits;  // first digit non-zero, no trailing zeros
  int exponent = 0;    // value = d.ddd * 10^exponent
};

// `magnitude` must be finite and above zero.
SingleDecimal RoundSingle(float magnitude, size_t significantDigits);

// Fixed notation without trailing zeros ("0,1", "1500").
std::string FixedText(const SingleDecimal& d, std::string_view separator);

// The digits with the separator after the first one ("1,52587890625"); the
// caller writes the exponent its own way.
std::string MantissaText(const SingleDecimal& d, std::string_view separator);

}  // namespace device
