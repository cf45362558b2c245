#pragma once

#include <string>
#include <string_view>

namespace device {

// Every "," and every "." of `text` replaced by `separator` (the locale's
// decimal separator), so that typed numbers convert with either separator.
std::string NormalizeDecimalSeparator(std::string_view text, std::string_view separator);

}  // namespace device
