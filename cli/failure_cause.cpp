#include "cli/failure_cause.h"

#include <system_error>

#include "modbus/result_codes.h"

namespace cli {

std::string PortFailureCause(const modbus::PortFailure& failure) {
  const std::string& path = failure.devicePath;
  using Kind = modbus::PortFailureKind;
  switch (failure.kind) {
    case Kind::kNone:
      return {};
    case Kind::kNotFound:
      return path + " does not exist";
    case Kind::kNoPermission:
      return "no permission to open " + path + " (is the user in group dialout?)";
    case Kind::kHeldByOther:
      return path + " is held by another program";
    case Kind::kNotSerial:
      return path + " is not a serial port";
    case Kind::kSettingsRefused:
      return path + ": the driver refused the line settings";
    case Kind::kWentAway:
      return path + ": the port went away";
    case Kind::kOther:
      break;
  }
  if (failure.systemError == 0) return path + " could not be opened";
  return path + " could not be opened: " + std::system_category().message(failure.systemError) +
         " (error " + std::to_string(failure.systemError) + ")";
}

std::string RequestFailureCause(uint8_t code, int address, const std::string& devicePath,
                                const modbus::PortFailure& portFailure) {
  const std::string at = " on " + devicePath;
  const std::string from = " from address " + std::to_string(address);
  switch (code) {
    case modbus::kPortHardwareError:
      if (portFailure.kind != modbus::PortFailureKind::kNone) return PortFailureCause(portFailure);
      return "the port failed during the exchange" + at;
    case modbus::kNoAnswer:
      return "no reply" + from + at;
    case modbus::kPortOpenError:
      if (portFailure.kind != modbus::PortFailureKind::kNone) return PortFailureCause(portFailure);
      return devicePath + " could not be opened";
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
