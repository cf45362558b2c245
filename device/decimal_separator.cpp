#include "device/decimal_separator.h"

namespace device {

std::string NormalizeDecimalSeparator(std::string_view text, std::string_view separator) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c == ',' || c == '.') {
      result += separator;
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace device
