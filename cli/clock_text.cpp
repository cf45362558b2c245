#include "cli/clock_text.h"

#include <chrono>

namespace cli {

namespace {

// Exactly `width` decimal digits at `at`.
std::optional<int> digits(const std::string& text, size_t at, size_t width) {
  if (at + width > text.size()) return std::nullopt;
  int value = 0;
  for (size_t i = at; i < at + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = 10 * value + (text[i] - '0');
  }
  return value;
}

// `text` laid out as `pattern`: 'y' 'M' 'd' 'h' 'm' 's' digits, anything
// else that very character.
std::optional<TypedClock> byPattern(const std::string& text, const std::string& pattern) {
  if (text.size() != pattern.size()) return std::nullopt;
  TypedClock clock;
  for (size_t i = 0; i < pattern.size();) {
    const char p = pattern[i];
    size_t width = 0;
    while (i + width < pattern.size() && pattern[i + width] == p) ++width;
    int* part = nullptr;
    switch (p) {
      case 'y':
        part = &clock.year;
        break;
      case 'M':
        part = &clock.month;
        break;
      case 'd':
        part = &clock.day;
        break;
      case 'h':
        part = &clock.hour;
        break;
      case 'm':
        part = &clock.minute;
        break;
      case 's':
        part = &clock.second;
        break;
      default:
        if (text[i] != p) return std::nullopt;
        ++i;
        continue;
    }
    const auto value = digits(text, i, width);
    if (!value) return std::nullopt;
    *part = *value;
    i += width;
  }
  return clock;
}

}  // namespace

std::optional<TypedClock> ParseClockText(const std::string& text, std::string& error) {
  auto clock = byPattern(text, "dd.MM.yy hh:mm:ss");
  if (clock) {
    clock->year += 2000;
  } else {
    clock = byPattern(text, "yyyy-MM-ddThh:mm:ss");
  }
  if (!clock) {
    error = "\"" + text + "\" is not dd.mm.yy hh:mm:ss nor yyyy-mm-ddThh:mm:ss";
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year(clock->year),
                                         std::chrono::month(static_cast<unsigned>(clock->month)),
                                         std::chrono::day(static_cast<unsigned>(clock->day))};
  if (!date.ok() || clock->year < 2000 || clock->year > 2099) {
    error = "\"" + text + "\" is not a calendar date from 2000 to 2099";
    return std::nullopt;
  }
  if (clock->hour > 23 || clock->minute > 59 || clock->second > 59) {
    error = "\"" + text + "\" is not a time of day";
    return std::nullopt;
  }
  clock->isoWeekday =
      static_cast<int>(std::chrono::weekday(std::chrono::sys_days(date)).iso_encoding());
  return clock;
}

}  // namespace cli
