#pragma once

#include <string_view>

#include "modbus/byte_string.h"

namespace device {

// Typed data of the debug page ("0F 0F 01 02" with one blank appended by the
// caller). Every whole group of three characters gives one byte from its first
// two, each read by HexDigitValue, so only "0".."9" and "A".."F" are digits;
// the third character is a separator and never examined, and characters after
// the last whole group are ignored. The group count is 8-bit: 256 groups and
// more count modulo 256. The text is UTF-8 and counted in characters; a
// character beyond ASCII reads as its code in code page 1251 (Cyrillic
// letters) or as '?', as the 8-bit text of the field would hold it.
modbus::ByteString ParseHexText(std::string_view text);

}  // namespace device
