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

// How long the line must stay quiet after an answer before it is taken as
// the only one: a second instrument on the address starts once the first
// reply has ended and its own turnaround has passed. The reply's own time on
// the wire counts too, since an adapter may hand over a reply only once it
// is whole. Zero turnaround: no wait.
struct QuietTime {
  int characters = 0;  // beyond the reply: a few character times of slack
  int32_t turnaroundMs = 0;

  int32_t ms(std::size_t replyCharacters, uint32_t bitsPerSecond) const;
};

// The characters of the reply frame a request payload asks for: the data of
// a read, the echo of a write; the shortest reply for anything else.
std::size_t ExpectedReplyCharacters(const ByteString& request);

}  // namespace modbus
