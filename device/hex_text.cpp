#include "device/hex_text.h"

#include <cstdint>

#include "device/utf8_characters.h"

namespace device {

namespace {

constexpr size_t kGroupLength = 3;

std::optional<uint8_t> hexDigit(std::string_view character) {
  if (character.size() != 1) return std::nullopt;
  const char c = character[0];
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<uint8_t>(c - 'a' + 10);
  return std::nullopt;
}

bool isSeparator(std::string_view character) {
  if (character.size() != 1) return false;
  const auto c = static_cast<unsigned char>(character[0]);
  const bool letterOrDigit =
      (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return c < 0x80 && !letterOrDigit;
}

}  // namespace

std::optional<modbus::ByteString> ParseHexText(std::string_view text) {
  const auto characters = Utf8Characters(text);
  const size_t groups = characters.size() / kGroupLength;
  for (size_t i = 0; i < characters.size(); ++i) {
    const bool digitPlace = i % kGroupLength != kGroupLength - 1 && i < groups * kGroupLength;
    if (!(digitPlace ? hexDigit(characters[i]).has_value() : isSeparator(characters[i])))
      return std::nullopt;
  }
  modbus::ByteString bytes;
  bytes.reserve(groups % 256);
  for (size_t g = 0; g < groups; ++g) {
    const size_t first = kGroupLength * g;
    bytes.push_back(
        static_cast<char>(16 * *hexDigit(characters[first]) + *hexDigit(characters[first + 1])));
  }
  // The count of groups is held in eight bits: the first groups modulo 256 are taken.
  bytes.resize(groups % 256);
  return bytes;
}

}  // namespace device
