#pragma once

#include <chrono>
#include <string>

namespace backup {

// The PC's local time in ISO 8601 with its offset: "2026-12-08T14:07:09+01:00".
std::string LocalTimeText(std::chrono::system_clock::time_point at);

}  // namespace backup
