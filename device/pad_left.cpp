#include "device/pad_left.h"

#include <cstddef>

namespace device {

namespace {

// Characters of a UTF-8 text: every byte that is not a continuation byte.
int characterCount(std::string_view text) {
  int count = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace

std::string PadLeft(std::string_view text, int width, std::string_view fill) {
  std::string result;
  for (int missing = width - characterCount(text); missing > 0; --missing) result += fill;
  result += text;
  return result;
}

}  // namespace device
