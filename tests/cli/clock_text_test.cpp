#include "cli/clock_text.h"

#include <gtest/gtest.h>

namespace cli {
namespace {

TEST(ClockText, OnlyWholeCalendarDatesAndTimesAreTaken) {
  const struct {
    const char* text;
    bool taken = false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, weekday = 0;
  } cases[] = {
      {"07.12.26 14:05:00", true, 2026, 12, 7, 14, 5, 0, 1},
      {"2026-12-07T14:05:00", true, 2026, 12, 7, 14, 5, 0, 1},
      {"29.02.28 23:59:59", true, 2028, 2, 29, 23, 59, 59, 2},
      {"01.01.00 00:00:00", true, 2000, 1, 1, 0, 0, 0, 6},
      {"2099-12-31T00:00:00", true, 2099, 12, 31, 0, 0, 0, 4},
      {"07.12.2026 14:05:00"},  // the year would be read as 20
      {"99.99.99 99:99:99"},
      {"31.02.26 10:00:00"},
      {"29.02.27 10:00:00"},
      {"07.12.26 14:05:0099"},
      {"07.12.26 14:05:00 and more"},
      {"07.12.26 24:00:00"},
      {"07.12.26 14:60:00"},
      {"7.12.26 14:05:00"},
      {"07.12.26  14:05:00"},
      {"1999-12-31T10:00:00"},
      {"2026-12-07 14:05:00"},
      {"+7.12.26 14:05:00"},
      {""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string error;
    const auto clock = ParseClockText(c.text, error);
    ASSERT_EQ(clock.has_value(), c.taken) << error;
    if (!clock) {
      EXPECT_NE(error.find(c.text), std::string::npos) << error;
      continue;
    }
    EXPECT_EQ((std::vector<int>{clock->year, clock->month, clock->day, clock->hour, clock->minute,
                                clock->second, clock->isoWeekday}),
              (std::vector<int>{c.year, c.month, c.day, c.hour, c.minute, c.second, c.weekday}));
  }
}

}  // namespace
}  // namespace cli
