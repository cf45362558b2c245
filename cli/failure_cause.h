#pragma once

#include <cstdint>
#include <string>

#include "cli/link_failure.h"

namespace cli {

// Why a request failed, naming the device and the address: "no reply from
// address 0 on /dev/ttyS2", "more than one instrument answered ...".
std::string RequestFailureCause(const LinkFailure& failure, int address,
                                const std::string& devicePath);

// Why a device cannot be opened as a serial port, found by trying it:
// missing, not permitted, held by another program, not a serial port.
std::string PortOpenCause(const std::string& devicePath);

}  // namespace cli
