#include "device/scaled_value_text.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "device/decimal_separator.h"
#include "device/number_parsing.h"
#include "device/pad_left.h"
#include "device/utf8_characters.h"

namespace device {

namespace {

constexpr double kLowestFitting = -999;
constexpr double kHighestFitting = 9999;
constexpr char kPoint = '.';

double scaleOf(int decimalPoint) { return std::pow(10.0, decimalPoint); }

std::string withoutPoint(std::string_view text) {
  std::string characters;
  for (char c : text) {
    if (c != kPoint) characters += c;
  }
  return characters;
}

// The point before the last d characters; a code without a scale has none.
std::string withPoint(std::string characters, int decimalPoint) {
  if (!IsDecimalPointCode(decimalPoint) || decimalPoint == 0) return characters;
  const auto d = static_cast<size_t>(decimalPoint);
  if (characters.size() <= d) characters = std::string(d + 1 - characters.size(), '0') + characters;
  characters.insert(characters.size() - d, 1, kPoint);
  return characters;
}

// Free of the C library's numeric locale, unlike printf.
std::string digitsOf(double wholeMagnitude) {
  char text[400];  // room for the largest single's digits
  const auto printed =
      std::to_chars(text, text + sizeof text, wholeMagnitude, std::chars_format::fixed, 0);
  return {text, printed.ptr};
}

}  // namespace

bool IsDecimalPointCode(int code) { return code >= 0 && code <= 3; }

ValueFieldText RawCountText(float rawCount, int decimalPoint) {
  if (std::isnan(rawCount)) return {"NAN", kNoMask};
  if (std::isinf(rawCount)) return {rawCount < 0 ? "-INF" : "INF", kNoMask};
  const double whole = std::nearbyint(static_cast<double>(rawCount));  // halves to even
  const bool negative = rawCount < 0;
  std::string characters;
  int mask = kNoMask;
  if (whole >= kLowestFitting && whole <= kHighestFitting) {
    characters = PadLeft(digitsOf(std::fabs(whole)), kValuePositions, "0");
    if (negative) characters[0] = '-';
    if (IsDecimalPointCode(decimalPoint)) mask = decimalPoint;
  } else {
    characters = (negative ? "-" : "") + digitsOf(std::fabs(whole));
  }
  return {withPoint(characters, decimalPoint), mask};
}

ValueFieldText RelaidValueText(std::string_view fieldText, int decimalPoint) {
  std::string characters = withoutPoint(fieldText);
  const size_t length = Utf8Characters(characters).size();
  if (length <= static_cast<size_t>(kValuePositions) && IsDecimalPointCode(decimalPoint)) {
    // Laid into the positions from the left; the rest stay empty.
    characters.append(static_cast<size_t>(kValuePositions) - length, ' ');
    return {withPoint(characters, decimalPoint), decimalPoint};
  }
  return {withPoint(characters, decimalPoint), kNoMask};
}

bool FitsValueField(std::string_view text, int decimalPoint) {
  if (!IsDecimalPointCode(decimalPoint)) return false;
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
  const size_t point = text.find_first_of(".,");
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  const bool signed_ = !whole.empty() && (whole[0] == '+' || whole[0] == '-');
  const std::string_view wholeDigits = signed_ ? whole.substr(1) : whole;
  return whole.size() <= static_cast<size_t>(kValuePositions - decimalPoint) &&
         fraction.size() <= static_cast<size_t>(decimalPoint) && digits(wholeDigits) &&
         digits(fraction) && wholeDigits.size() + fraction.size() > 0;
}

std::optional<float> RawCountOf(std::string_view fieldText, int decimalPoint,
                                std::string_view separator) {
  if (!IsDecimalPointCode(decimalPoint)) return std::nullopt;
  const auto value = ParseDecimal(NormalizeDecimalSeparator(fieldText, separator), separator);
  if (!value) return std::nullopt;
  const double product = *value * scaleOf(decimalPoint);
  if (std::fabs(product) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(product);
}

}  // namespace device
