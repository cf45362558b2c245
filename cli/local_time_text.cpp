#include "cli/local_time_text.h"

#include <ctime>

namespace cli {

std::string LocalTimeText(std::chrono::system_clock::time_point at) {
  const std::time_t t = std::chrono::system_clock::to_time_t(at);
  std::tm local{};
  localtime_r(&t, &local);
  char text[40];
  return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local));
}

}  // namespace cli
