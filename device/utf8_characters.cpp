#include "device/utf8_characters.h"

namespace device {

namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::vector<std::string_view> Utf8Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start + 1;
    while (end < text.size() && isContinuation(text[end])) ++end;
    characters.push_back(text.substr(start, end - start));
    start = end;
  }
  return characters;
}

}  // namespace device
