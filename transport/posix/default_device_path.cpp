#include "transport/af_com_port_core.h"

namespace transport {

std::string DefaultDevicePath(int comNumber) { return "/dev/ttyS" + std::to_string(comNumber - 1); }

}  // namespace transport
