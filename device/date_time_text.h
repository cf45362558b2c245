#pragma once

#include <string>
#include <string_view>

namespace device {

// Clock and date parts in two digits ("05"); a part of three or more digits
// keeps them all.
std::string TwoDigitText(int value);

// day sep month sep year, e.g. "05.03.09".
std::string DateText(int day, int month, int year, std::string_view separator = ".");

// hours sep minutes sep seconds, e.g. "14:07:09".
std::string TimeText(int hours, int minutes, int seconds, std::string_view separator = ":");

}  // namespace device
