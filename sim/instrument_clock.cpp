#include "sim/instrument_clock.h"

#include <ctime>
#include <mutex>

namespace sim {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 of a proleptic Gregorian date (month 1..12).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

const int64_t kDays2000 = daysFromCivil(2000, 1, 1);

}  // namespace

int64_t SecondsSince2000(const ClockTime& t) {
  // Month 0 or above 12 carries like the other fields: month 13 is January of
  // the next year, month 0 December of the one before.
  const int64_t months = int64_t{2000 + t.year} * 12 + (int64_t{t.month} - 1);
  const int64_t year = months >= 0 ? months / 12 : (months - 11) / 12;
  const int64_t month = months - year * 12 + 1;
  const int64_t days = daysFromCivil(year, month, 1) + (int64_t{t.day} - 1) - kDays2000;
  return days * kSecondsPerDay + int64_t{t.hours} * 3600 + int64_t{t.minutes} * 60 + t.seconds;
}

ClockTime ClockAtSeconds(int64_t seconds, uint8_t dayOfWeek) {
  int64_t days = seconds / kSecondsPerDay;
  int64_t rest = seconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  int64_t y = 0, m = 0, d = 0;
  civilFromDays(days + kDays2000, y, m, d);
  ClockTime t;
  t.seconds = static_cast<uint8_t>(rest % 60);
  t.minutes = static_cast<uint8_t>(rest / 60 % 60);
  t.hours = static_cast<uint8_t>(rest / 3600);
  t.dayOfWeek = dayOfWeek;
  t.day = static_cast<uint8_t>(d);
  t.month = static_cast<uint8_t>(m);
  t.year = static_cast<uint8_t>(((y - 2000) % 100 + 100) % 100);
  return t;
}

uint8_t DayOfWeekAt(int64_t seconds) {
  int64_t days = seconds / kSecondsPerDay;
  if (seconds % kSecondsPerDay < 0) --days;
  // 2000-01-01 was a Saturday (6).
  return static_cast<uint8_t>(((days + 5) % 7 + 7) % 7 + 1);
}

InstrumentClock::InstrumentClock(const ClockTime& start) : time_(start) {}

void InstrumentClock::set(const ClockTime& time) {
  time_ = time;
  pending_ = std::chrono::milliseconds(0);
}

void InstrumentClock::advance(std::chrono::milliseconds elapsed) {
  pending_ += elapsed;
  const int64_t whole = pending_.count() / 1000;
  if (whole <= 0) return;
  pending_ -= std::chrono::milliseconds(whole * 1000);
  const int64_t before = SecondsSince2000(time_);
  const int64_t after = before + whole;
  int64_t dayChanges = after / kSecondsPerDay - before / kSecondsPerDay;
  uint8_t dow = time_.dayOfWeek;
  if (dayChanges > 0) {
    // A day of week outside 1..7 (as written) steps into the range at midnight.
    const int start = dow >= 1 && dow <= 7 ? dow - 1 : 0;
    dow = static_cast<uint8_t>((start + dayChanges) % 7 + 1);
  }
  time_ = ClockAtSeconds(after, dow);
}

ClockTime HostLocalClock() {
  static std::mutex localtimeLock;  // std::localtime shares one buffer
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  {
    const std::lock_guard lock(localtimeLock);
    tm = *std::localtime(&now);
  }
  ClockTime t;
  t.seconds = static_cast<uint8_t>(tm.tm_sec % 60);
  t.minutes = static_cast<uint8_t>(tm.tm_min);
  t.hours = static_cast<uint8_t>(tm.tm_hour);
  t.dayOfWeek = static_cast<uint8_t>(tm.tm_wday == 0 ? 7 : tm.tm_wday);
  t.day = static_cast<uint8_t>(tm.tm_mday);
  t.month = static_cast<uint8_t>(tm.tm_mon + 1);
  t.year = static_cast<uint8_t>(tm.tm_year % 100);
  return t;
}

}  // namespace sim
