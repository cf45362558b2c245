#include "backup/local_time_text.h"

#include <charconv>
#include <ctime>

namespace backup {
namespace {

// The offset from the local and the UTC calendar fields of one instant:
// Windows' strftime gives the zone's long name for %z, not the offset.
long offsetMinutes(const std::tm& local, const std::tm& utc) {
  long days = local.tm_yday - utc.tm_yday;
  if (local.tm_year != utc.tm_year) days = local.tm_year > utc.tm_year ? 1 : -1;
  return days * 24 * 60 + (local.tm_hour - utc.tm_hour) * 60L + (local.tm_min - utc.tm_min);
}

}  // namespace

std::string LocalTimeText(std::chrono::system_clock::time_point at) {
  const std::time_t t = std::chrono::system_clock::to_time_t(at);
  std::tm local{};
  std::tm utc{};
  localtime_r(&t, &local);
  gmtime_r(&t, &utc);
  char text[40];
  std::string result(text, std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local));
  const long offset = offsetMinutes(local, utc);
  const long magnitude = offset < 0 ? -offset : offset;
  const long hhmm = magnitude / 60 * 100 + magnitude % 60;
  char digits[8];
  const auto end = std::to_chars(digits, digits + sizeof digits, hhmm).ptr;
  result += offset < 0 ? '-' : '+';
  result.append(static_cast<size_t>(4 - (end - digits)), '0');
  result.append(digits, end);
  // The extended form, as the date and time are: "+05:30".
  return result.insert(result.size() - 2, ":");
}

}  // namespace backup
