#include "settings/port_device_path.h"

#include <algorithm>

#include "transport/af_com_port_core.h"

namespace settings {

std::string PortKey(int comNumber) { return "COM" + std::to_string(comNumber); }

std::string PortDevicePath(const ProfileText& profile, int comNumber) {
  const auto mapped = profile.value(kPortsSection, PortKey(comNumber));
  if (mapped && !mapped->empty()) {
#ifdef _WIN32
    return DeviceNamespaceName(*mapped);
#else
    return *mapped;
#endif
  }
  return transport::DefaultDevicePath(comNumber);
}

std::string DeviceNamespaceName(const std::string& name) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const bool bareCom = name.size() > 3 && (name[0] | 0x20) == 'c' && (name[1] | 0x20) == 'o' &&
                       (name[2] | 0x20) == 'm' &&
                       std::all_of(name.begin() + 3, name.end(), isDigit);
  return bareCom ? "\\\\.\\" + name : name;
}

}  // namespace settings
