// The PC's time stamp of backups and polls: the offset is computed, not
// taken from strftime (Windows gives a zone name there). Checked against
// known stamps in zones the C libraries of both systems read from TZ, and on
// Linux against the C library's %z in zones with half hours, west and east of
// UTC, on both sides of a new year.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "backup/local_time_text.h"

namespace backup {
namespace {

void setZone(const char* zone) {
#ifdef _WIN32
  ::_putenv_s("TZ", zone != nullptr ? zone : "");
  ::_tzset();
#else
  if (zone != nullptr) {
    ::setenv("TZ", zone, 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
#endif
}

class ZoneScope {
 public:
  explicit ZoneScope(const char* zone) {
    if (const char* was = std::getenv("TZ")) {
      previous_ = was;
      hadPrevious_ = true;
    }
    setZone(zone);
  }
  ~ZoneScope() { setZone(hadPrevious_ ? previous_.c_str() : nullptr); }
  ZoneScope(const ZoneScope&) = delete;
  ZoneScope& operator=(const ZoneScope&) = delete;

 private:
  std::string previous_;
  bool hadPrevious_ = false;
};

TEST(LocalTimeText, IsTheLocalTimeWithItsOffsetFromUtc) {
  const std::time_t newYearsEve = 1798756200;  // 2026-12-31T22:30:00Z
  const struct {
    const char* zone;
    const char* text;
  } cases[] = {
      {"UTC0", "2026-12-31T22:30:00+00:00"},
      {"IST-5:30", "2027-01-01T04:00:00+05:30"},
      {"NST3:30", "2026-12-31T19:00:00-03:30"},
  };
  for (const auto& c : cases) {
    ZoneScope scope(c.zone);
    EXPECT_EQ(LocalTimeText(std::chrono::system_clock::from_time_t(newYearsEve)), c.text) << c.zone;
  }
}

#ifndef _WIN32
std::string libraryText(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  char text[40];
  std::string stamp(text, std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local));
  return stamp.insert(stamp.size() - 2, ":");  // ISO 8601's extended form: +05:30
}

TEST(LocalTimeText, CarriesTheZoneOffsetAsTheCLibraryDoes) {
  // 2026-12-31T22:30:00Z, 2027-01-01T01:15:00Z and a summer instant.
  const std::time_t instants[] = {1798756200, 1798766100, 1783000000};
  for (const char* zone : {"UTC0", "<+0530>-5:30", "<-0330>3:30", "<+14>-14", "<-12>12",
                           "CET-1CEST,M3.5.0,M10.5.0/3"}) {
    ZoneScope scope(zone);
    for (const std::time_t t : instants) {
      EXPECT_EQ(LocalTimeText(std::chrono::system_clock::from_time_t(t)), libraryText(t))
          << zone << " " << t;
    }
  }
}
#endif

}  // namespace
}  // namespace backup
