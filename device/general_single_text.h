#pragma once

#include <string>
#include <string_view>

namespace device {

// A single-precision number in general format with at most 8 significant
// digits, as the debug page shows decoded values: the exact value rounded
// half away from zero, then fixed notation without trailing zeros while it is
// at least 0.00001 in magnitude and has at most 8 digits before the separator
// ("123,456", "-0,00001"), otherwise scientific with the separator after the
// first digit and an exponent of at least three digits, signed only when
// negative ("1,2345678E008", "1E-006"). Zero of either sign is "0"; values
// that are not numbers show as "NAN", "INF" or "-INF".
std::string FormatGeneralSingle(float value, std::string_view separator);

}  // namespace device
