#pragma once

#include <optional>
#include <string_view>

#include "modbus/byte_string.h"

namespace device {

// Typed data of the debug page ("0F 0F 01 02" with one blank appended by the
// caller). Every whole group of three characters gives one byte from its first
// two, hex digits in either case; the third is a separator, any one, and its
// value is never used. The group count is 8-bit: 256 groups and more count
// modulo 256. The text is UTF-8 and counted in characters.
//
// Empty, so that nothing is sent, unless the text is hex pairs with one
// separator (a blank or another ASCII character that is no letter or digit)
// after each: a hex digit where a separator stands means pairs typed without
// separators ("0A640B" would otherwise go out as 0A 40), a digit left after
// the last whole group is a byte half typed, and a typed character outside
// the digits would otherwise go out as its own code.
std::optional<modbus::ByteString> ParseHexText(std::string_view text);

}  // namespace device
