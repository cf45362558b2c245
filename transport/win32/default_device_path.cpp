#include "transport/af_com_port_core.h"

namespace transport {

// The device namespace form works for every number (COM10 and above have no
// other name).
std::string DefaultDevicePath(int comNumber) { return "\\\\.\\COM" + std::to_string(comNumber); }

}  // namespace transport
