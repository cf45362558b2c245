#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace device {

// A typed decimal integer: blanks before it and a sign are allowed, nothing
// after it; empty when the text is not one or does not fit 32 bits.
std::optional<int32_t> ParseInteger(std::string_view text);

// The message of a failed integer conversion of `text`.
std::string IntegerConversionErrorText(std::string_view text);

// A typed decimal number with `separator` as its decimal separator (after
// NormalizeDecimalSeparator): blanks before and after, a sign, digits with at
// most one separator, an optional exponent ("1,5E3"). Empty otherwise, and
// for a number beyond the range of a double.
std::optional<double> ParseDecimal(std::string_view text, std::string_view separator);

}  // namespace device
