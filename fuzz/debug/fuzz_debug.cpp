// Arbitrary bytes as the typed data of the debug page and as a 04h result
// whose display fields are decoded.

#include <bit>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "device/debug_data_texts.h"
#include "device/general_single_text.h"
#include "device/hex_text.h"
#include "device/utf8_characters.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

bool startsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0 && text.size() > std::strlen(prefix);
}

void checkTexts(const std::string& result, const char* separator) {
  const device::DebugDataTexts t = device::FormatDebugDataTexts(result, separator);
  if (result.size() < 29) {
    require(t == device::DebugDataTexts{});
    return;
  }
  require(startsWith(t.seconds, "Сек ") && startsWith(t.minutes, "Мин ") &&
          startsWith(t.hours, "Час ") && startsWith(t.dayOfWeek, "Нед ") &&
          startsWith(t.day, "День ") && startsWith(t.month, "Мес ") && startsWith(t.year, "Год ") &&
          startsWith(t.faultWord, "Ошибка: ") && startsWith(t.coldJunction, "XC ") &&
          startsWith(t.physical, "Физ ") && startsWith(t.parameter, "Знач "));
}

// Eight significant digits: the text reads back within half a unit of the eighth digit.
void checkSingle(float value) {
  const std::string text = device::FormatGeneralSingle(value, ".");
  require(!text.empty() && text.size() <= 16);
  if (!std::isfinite(value)) return;
  const double back = std::strtod(text.c_str(), nullptr);
  require(std::fabs(back - value) <= std::fabs(double{value}) * 1e-7);
}

// A text taken gives one byte per whole group, and each byte is the two
// digits of its group read in either case.
void checkHexText(const std::string& text) {
  const auto parsed = device::ParseHexText(text);
  if (!parsed) return;
  const auto characters = device::Utf8Characters(text);
  require(characters.size() == text.size());
  require(parsed->size() == (characters.size() / 3) % 256);
  for (size_t i = 0; i < parsed->size(); ++i) {
    char digits[3] = {};
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>((*parsed)[i]));
    for (size_t k = 0; k < 2; ++k) {
      require(std::toupper(static_cast<unsigned char>(text[3 * i + k])) == digits[k]);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  checkHexText(bytes);

  checkTexts(bytes, ",");
  checkTexts(bytes, "\xC2\xA0");  // a separator of two bytes

  if (size >= 4) {
    uint32_t bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    checkSingle(std::bit_cast<float>(bits));
  }
  return 0;
}
