#include "sim/instrument_clock.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

using std::chrono::milliseconds;

ClockTime at(uint8_t h, uint8_t m, uint8_t s, uint8_t dow, uint8_t day, uint8_t month,
             uint8_t year) {
  return {s, m, h, dow, day, month, year};
}

TEST(InstrumentClock, CarriesThroughMonthsLeapDaysAndTheCentury) {
  struct Case {
    ClockTime start;
    ClockTime after;
  };
  const Case cases[] = {
      {at(23, 59, 59, 3, 28, 2, 24), at(0, 0, 0, 4, 29, 2, 24)},  // leap year
      {at(23, 59, 59, 3, 28, 2, 23), at(0, 0, 0, 4, 1, 3, 23)},
      {at(23, 59, 59, 7, 31, 12, 99), at(0, 0, 0, 1, 1, 1, 0)},
      {at(23, 59, 59, 6, 30, 4, 25), at(0, 0, 0, 7, 1, 5, 25)},
      {at(10, 59, 59, 2, 15, 6, 25), at(11, 0, 0, 2, 15, 6, 25)},
  };
  for (const Case& c : cases) {
    InstrumentClock clock(c.start);
    clock.advance(milliseconds(1000));
    EXPECT_EQ(clock.now(), c.after) << int{c.start.day} << "." << int{c.start.month};
  }
}

TEST(InstrumentClock, CountsMillisecondsAcrossCalls) {
  InstrumentClock clock(at(12, 0, 0, 1, 1, 6, 25));
  for (int i = 0; i < 9; ++i) clock.advance(milliseconds(100));
  EXPECT_EQ(clock.now().seconds, 0);
  clock.advance(milliseconds(150));
  EXPECT_EQ(clock.now().seconds, 1);
  clock.advance(milliseconds(3600 * 1000));
  EXPECT_EQ(clock.now().hours, 13);
  EXPECT_EQ(clock.now().seconds, 1);
  clock.set(at(1, 2, 3, 4, 5, 6, 7));
  clock.advance(milliseconds(950));
  EXPECT_EQ(clock.now().seconds, 3) << "setting the clock restarts its second";
}

TEST(InstrumentClock, WrittenNonsenseCarriesIntoValidTime) {
  // 31 February 2024 is 2 March; hour 25 is 1 o'clock the next day.
  InstrumentClock clock(at(10, 0, 0, 3, 31, 2, 24));
  clock.advance(milliseconds(1000));
  EXPECT_EQ(clock.now(), at(10, 0, 1, 3, 2, 3, 24));
  InstrumentClock late(at(25, 0, 0, 3, 1, 1, 24));
  late.advance(milliseconds(1000));
  EXPECT_EQ(late.now(), at(1, 0, 1, 3, 2, 1, 24));
  InstrumentClock noDay(at(23, 59, 59, 0, 1, 1, 24));
  noDay.advance(milliseconds(1000));
  EXPECT_EQ(noDay.now().dayOfWeek, 2) << "day of week 0 steps into 1..7";
}

TEST(InstrumentClock, SecondCountsRoundTripAndKnowTheWeekday) {
  const ClockTime t = at(14, 7, 9, 2, 5, 3, 24);
  const int64_t s = SecondsSince2000(t);
  EXPECT_EQ(ClockAtSeconds(s, 2), t);
  EXPECT_EQ(DayOfWeekAt(s), 2) << "5 March 2024 was a Tuesday";
  EXPECT_EQ(DayOfWeekAt(0), 6) << "1 January 2000 was a Saturday";
  EXPECT_EQ(ClockAtSeconds(-1, 5), at(23, 59, 59, 5, 31, 12, 99));
}

}  // namespace
}  // namespace sim
