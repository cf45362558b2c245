#pragma once

#include <cstdint>
#include <string>

#include "cli/link_failure.h"
#include "modbus/port_failure.h"

namespace cli {

// Why a request failed, naming the device and the address: "no reply from
// address 0 on /dev/ttyS2", "more than one instrument answered ...", and for
// a failure of the port the cause the port captured: "/dev/ttyUSB0 is held
// by another program".
std::string RequestFailureCause(const LinkFailure& failure, int address,
                                const std::string& devicePath);

// The port's cause in words; empty for kNone.
std::string PortFailureCause(const modbus::PortFailure& failure);

}  // namespace cli
