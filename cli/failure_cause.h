#pragma once

#include <cstdint>
#include <string>

#include "modbus/port_failure.h"

namespace cli {

// Why a request failed, from its result code and, for a failure of the port,
// the cause the port captured; naming the device and the address: "no reply
// from address 0 on /dev/ttyS2", "/dev/ttyUSB0 is held by another program".
std::string RequestFailureCause(uint8_t code, int address, const std::string& devicePath,
                                const modbus::PortFailure& portFailure);

// The port's cause in words; empty for kNone.
std::string PortFailureCause(const modbus::PortFailure& failure);

}  // namespace cli
