#include "modbus/wire_time.h"

namespace modbus {

namespace {

// ':' and CR LF around two hex digits per byte, the LRC included.
std::size_t frameCharacters(std::size_t payloadBytes) { return 1 + 2 * (payloadBytes + 1) + 2; }

constexpr std::size_t kReplyHeader = 3;  // address, function, byte count
constexpr std::size_t kWriteEcho = 6;    // address, function, start, count

}  // namespace

int32_t WireTimeMs(std::size_t characters, uint32_t bitsPerSecond) {
  if (bitsPerSecond == 0) return 0;
  const uint64_t bits = uint64_t{characters} * kBitsPerCharacter * 1000;
  return static_cast<int32_t>((bits + bitsPerSecond - 1) / bitsPerSecond);
}

int32_t QuietTime::ms(std::size_t replyCharacters, uint32_t bitsPerSecond) const {
  if (turnaroundMs <= 0) return 0;
  return turnaroundMs +
         WireTimeMs(replyCharacters + static_cast<std::size_t>(characters), bitsPerSecond);
}

std::size_t ExpectedReplyCharacters(const ByteString& request) {
  if (request.size() < 6) return frameCharacters(kReplyHeader);
  const std::size_t count =
      static_cast<uint8_t>(request[4]) << 8 | static_cast<uint8_t>(request[5]);
  switch (static_cast<uint8_t>(request[1])) {
    case 0x01:
    case 0x02:
      return frameCharacters(kReplyHeader + (count + 7) / 8);
    case 0x03:
    case 0x04:
      return frameCharacters(kReplyHeader + 2 * count);
    case 0x0F:
    case 0x10:
      return frameCharacters(kWriteEcho);
    default:
      return frameCharacters(kReplyHeader);
  }
}

}  // namespace modbus
