#pragma once

#include <optional>
#include <string>

namespace cli {

// A date and time typed for "clock --set": "dd.mm.yy hh:mm:ss" (year 20yy)
// or ISO 8601 "yyyy-mm-ddThh:mm:ss" (2000 to 2099), a real calendar date,
// nothing before or after.
struct TypedClock {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int isoWeekday = 1;  // Monday 1 to Sunday 7, computed from the date
};

// Empty with `error` saying what is wrong.
std::optional<TypedClock> ParseClockText(const std::string& text, std::string& error);

}  // namespace cli
