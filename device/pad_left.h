#pragma once

#include <string>
#include <string_view>

namespace device {

// The fill text put in front of `text` (width - length) times when the text is
// shorter than `width` characters, else the text unchanged. Lengths count
// characters of the UTF-8 text, not bytes.
std::string PadLeft(std::string_view text, int width, std::string_view fill);

}  // namespace device
