#pragma once

#include <cstddef>
#include <cstdint>

#include "modbus/byte_string.h"

namespace modbus {

// A character on the line is 10 bits: start bit, 8 data bits, stop bit.
inline constexpr int kBitsPerCharacter = 10;

// Milliseconds `characters` take on the wire at `bitsPerSecond`, rounded up;
// 0 for an unknown speed (0).
int32_t WireTimeMs(std::size_t characters, uint32_t bitsPerSecond);

// The characters of the reply frame a request payload asks for: the data of
// a read, the echo of a write; the shortest reply for anything else.
std::size_t ExpectedReplyCharacters(const ByteString& request);

}  // namespace modbus
