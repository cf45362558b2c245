#include "device/date_time_text.h"

#include "device/pad_left.h"

namespace device {

std::string TwoDigitText(int value) { return PadLeft(std::to_string(value), 2, "0"); }

namespace {

std::string threeParts(int a, int b, int c, std::string_view separator) {
  std::string text = TwoDigitText(a);
  text += separator;
  text += TwoDigitText(b);
  text += separator;
  text += TwoDigitText(c);
  return text;
}

}  // namespace

std::string DateText(int day, int month, int year, std::string_view separator) {
  return threeParts(day, month, year, separator);
}

std::string TimeText(int hours, int minutes, int seconds, std::string_view separator) {
  return threeParts(hours, minutes, seconds, separator);
}

}  // namespace device
