#pragma once

#include <optional>
#include <string_view>

#include "modbus/byte_string.h"

namespace device {

// Typed data of the debug page ("0F 0F 01 02" with one blank appended by the
// caller). Every whole group of three characters gives one byte from its first
// two, hex digits in either case; the third is a separator and its value is
// never used, and characters after the last whole group are ignored. The
// group count is 8-bit: 256 groups and more count modulo 256. The text is
// UTF-8 and counted in characters.
//
// Empty, so that nothing is sent, when a digit place holds anything but a hex
// digit, or any character is neither a hex digit nor a separator (a blank or
// another ASCII character that is no letter or digit): a typed character
// outside the digits would otherwise go out as its own code.
std::optional<modbus::ByteString> ParseHexText(std::string_view text);

}  // namespace device
