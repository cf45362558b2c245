#pragma once

#include <optional>
#include <string>

#include "sim/instrument.h"

namespace sim {

// Modbus exception codes the slave sends.
namespace exception_code {
constexpr uint8_t kIllegalFunction = 0x01;
constexpr uint8_t kIllegalAddress = 0x02;
constexpr uint8_t kIllegalValue = 0x03;
constexpr uint8_t kDeviceFailure = 0x04;
}  // namespace exception_code

// Exception reply to a request: its address, its function with bit 7 set, the code.
std::string ExceptionReply(const std::string& request, uint8_t code);

// Answers one decoded request (address, function, data; LRC removed) for the
// instrument: functions 01h, 02h, 03h, 04h, 0Fh and 10h, exception 01h for any
// other, 03h for a bad count or a malformed data field, 02h for registers
// outside the map. A request to another address than 0 or the instrument's
// own gets no reply (nullopt). The reply carries the request's address.
std::optional<std::string> HandleRequest(Instrument& instrument, const std::string& request);

}  // namespace sim
