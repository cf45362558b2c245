#pragma once

#include <string>
#include <string_view>

namespace device {

// A measured value for display: rounded to 6 significant digits, then shown
// in fixed-point notation with `decimals` decimals (halves away from zero),
// or in scientific notation ("1,23457E+07") when the integer part has more
// than 6 digits. The decimal separator is the locale's. Values that are not
// numbers show as "NAN", "INF" or "-INF"; a value that rounds to zero shows
// without a sign.
std::string FormatMeasuredValue(double value, int decimals, std::string_view separator);

}  // namespace device
