#include "settings/port_device_path.h"

#include "transport/af_com_port_core.h"

namespace settings {

std::string PortKey(int comNumber) { return "COM" + std::to_string(comNumber); }

std::string PortDevicePath(const ProfileText& profile, int comNumber) {
  const auto mapped = profile.value(kPortsSection, PortKey(comNumber));
  if (mapped && !mapped->empty()) return *mapped;
  return transport::DefaultDevicePath(comNumber);
}

}  // namespace settings
