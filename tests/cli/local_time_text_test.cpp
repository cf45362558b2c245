// The PC's time stamp of backups and polls: the offset is computed, not
// taken from strftime (Windows gives a zone name there); here it is checked
// against the C library's %z in zones with half hours, west and east of
// UTC, on both sides of a new year.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "cli/local_time_text.h"

namespace cli {
namespace {

class ZoneScope {
 public:
  explicit ZoneScope(const char* zone) {
    if (const char* was = std::getenv("TZ")) {
      previous_ = was;
      hadPrevious_ = true;
    }
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~ZoneScope() {
    if (hadPrevious_) {
      ::setenv("TZ", previous_.c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }
  ZoneScope(const ZoneScope&) = delete;
  ZoneScope& operator=(const ZoneScope&) = delete;

 private:
  std::string previous_;
  bool hadPrevious_ = false;
};

std::string libraryText(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  char text[40];
  return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local));
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

}  // namespace
}  // namespace cli
