#pragma once

#include <cstdint>

#include "modbus/byte_string.h"

namespace modbus {

// ':' + upper-case hex of every payload byte + hex LRC + CR LF.
ByteString BuildFrame(const ByteString& payload);

// Checks a raw reply frame and returns the bytes between ':' and the LRC,
// or one of the result codes 04h..09h. Never throws; reads only what it is given.
ExchangeResult DecodeReply(const ByteString& raw);

// Two upper-case hex digits and one blank per byte ("3A 30 ").
ByteString HexDump(const ByteString& bytes);

// '0'..'9' and 'A'..'F' give 0..15; any other character gives its own code.
uint8_t HexDigitValue(char c);

}  // namespace modbus
