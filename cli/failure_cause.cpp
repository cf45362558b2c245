#include "cli/failure_cause.h"

#include "modbus/result_codes.h"

namespace cli {

std::string RequestFailureCause(uint8_t code, int address, const std::string& devicePath) {
  const std::string at = " on " + devicePath;
  const std::string from = " from address " + std::to_string(address);
  switch (code) {
    case modbus::kPortHardwareError:
      return "the port failed during the exchange" + at;
    case modbus::kNoAnswer:
      return "no reply" + from + at;
    case modbus::kPortOpenError:
      return PortOpenCause(devicePath);
    case modbus::kNoStartMarker:
    case modbus::kTooShort:
    case modbus::kNoLf:
    case modbus::kNoCr:
    case modbus::kOddDigitCount:
      return "the reply" + from + at + " is not a whole Modbus ASCII frame (code " +
             std::to_string(code) + ")";
    case modbus::kLrcError:
      return "the reply" + from + at + " failed its LRC check";
    case modbus::kWrongAddress:
      return "the reply" + at + " came from another address than " + std::to_string(address);
    case modbus::kExceptionReply:
      return "address " + std::to_string(address) + at + " refused the request (exception reply)";
    case modbus::kWrongFunction:
    case modbus::kWrongByteCount:
    case modbus::kWrongLength:
    case modbus::kWrongWriteReplyLength:
      return "the reply" + from + at + " does not match the request";
    default:
      return {};
  }
}

}  // namespace cli
