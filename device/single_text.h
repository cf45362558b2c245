#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace device {

// A single-precision number as the calibration page shows it: its exact value
// rounded to 15 significant digits (halves away from zero), in fixed notation
// without trailing zeros when 0.0001 <= |x| < 10^15 or x = 0
// ("0,100000001490116"), otherwise scientific with the point after the first
// digit and a bare exponent ("1,52587890625E-5"). Fifteen digits always convert back to the
// same single. Negative zero shows as "-0" so that it goes back as it came;
// values that are not numbers show as "NAN", "INF" or "-INF", which
// ParseSingle refuses.
std::string FormatSingle(float value, std::string_view separator);

// The single nearest to a typed decimal number with `separator` as its decimal
// separator (after NormalizeDecimalSeparator): blanks before and after, a
// sign, digits with at most one separator, an optional exponent. Converted
// straight to single, never through double, so that a number near the middle
// of two singles is not rounded twice. A number below the smallest subnormal
// gives the nearest single, zero of its sign. Empty for any other text and for
// a number beyond the largest single.
std::optional<float> ParseSingle(std::string_view text, std::string_view separator);

}  // namespace device
