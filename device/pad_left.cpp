#include "device/pad_left.h"

#include "device/utf8_characters.h"

namespace device {

std::string PadLeft(std::string_view text, int width, std::string_view fill) {
  std::string result;
  const auto length = static_cast<int>(Utf8Characters(text).size());
  for (int missing = width - length; missing > 0; --missing) result += fill;
  result += text;
  return result;
}

}  // namespace device
