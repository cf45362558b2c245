#pragma once

#include <string>

#include "settings/profile_text.h"

namespace settings {

// The device behind COMn: key "COMn" of section "Ports" if present, else the
// platform's default device of that number. On Windows a mapping to a bare
// "COMm" is given in the device namespace (see DeviceNamespaceName).
std::string PortDevicePath(const ProfileText& profile, int comNumber);

// The key of COMn in section "Ports".
std::string PortKey(int comNumber);
inline constexpr const char* kPortsSection = "Ports";

// Windows finds COM10 and above only by their device namespace name
// "\\.\COMn" (a bare "COM12" is a file of that name); for COM1 to COM9 both
// names are the same device. So a bare "COM" and digits, in any case, gets
// the prefix; anything else is returned as it is.
std::string DeviceNamespaceName(const std::string& name);

}  // namespace settings
