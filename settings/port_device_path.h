#pragma once

#include <string>

#include "settings/profile_text.h"

namespace settings {

// The device behind COMn: key "COMn" of section "Ports" if present, else the
// platform's default device of that number.
std::string PortDevicePath(const ProfileText& profile, int comNumber);

// The key of COMn in section "Ports".
std::string PortKey(int comNumber);
inline constexpr const char* kPortsSection = "Ports";

}  // namespace settings
