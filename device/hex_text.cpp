#include "device/hex_text.h"

#include <cstdint>

#include "device/utf8_characters.h"
#include "modbus/frame_codec.h"

namespace device {

namespace {

constexpr size_t kGroupLength = 3;

// The 8-bit character a field of the Windows code page would hold.
char codePageCharacter(std::string_view character) {
  if (character.size() == 1) return character[0];
  if (character.size() == 2) {
    const auto lead = static_cast<unsigned char>(character[0]);
    const auto trail = static_cast<unsigned char>(character[1]);
    if ((lead & 0xE0u) == 0xC0u && (trail & 0xC0u) == 0x80u) {
      const unsigned codePoint = ((lead & 0x1Fu) << 6) | (trail & 0x3Fu);
      if (codePoint >= 0x410 && codePoint <= 0x44F)  // А..я
        return static_cast<char>(0xC0 + (codePoint - 0x410));
      if (codePoint == 0x401) return static_cast<char>(0xA8);  // Ё
      if (codePoint == 0x451) return static_cast<char>(0xB8);  // ё
    }
  }
  return '?';
}

uint8_t digitValue(std::string_view character) {
  return modbus::HexDigitValue(codePageCharacter(character));
}

}  // namespace

modbus::ByteString ParseHexText(std::string_view text) {
  const auto characters = Utf8Characters(text);
  const auto groups = static_cast<uint8_t>(characters.size() / kGroupLength);
  modbus::ByteString bytes;
  bytes.reserve(groups);
  for (size_t g = 0; g < groups; ++g) {
    const size_t first = kGroupLength * g;
    const auto value = static_cast<uint8_t>(16 * digitValue(characters[first]) +
                                            digitValue(characters[first + 1]));
    bytes.push_back(static_cast<char>(value));
  }
  return bytes;
}

}  // namespace device
