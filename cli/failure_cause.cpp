#include "cli/failure_cause.h"

#include <system_error>

#include "modbus/frame_codec.h"
#include "modbus/result_codes.h"

namespace cli {

namespace {

constexpr char kStartMarker = ':';

std::string hexByte(uint8_t byte) {
  constexpr const char* kDigits = "0123456789ABCDEF";
  return {kDigits[byte >> 4], kDigits[byte & 0xF], 'h'};
}

// A reply that does not begin with the colon but holds one further on: a
// transceiver switching direction sends such a byte ahead of the frame.
std::string beforeColon(const modbus::ByteString& received) {
  const size_t colon = received.find(kStartMarker);
  if (received.empty() || colon == 0 || colon == modbus::ByteString::npos) return {};
  std::string seen;
  for (size_t i = 0; i < colon && i < 4; ++i) {
    seen += (seen.empty() ? "" : " ") + hexByte(static_cast<uint8_t>(received[i]));
  }
  if (colon > 4) seen += " ...";
  return seen;
}

}  // namespace

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

std::string RequestFailureCause(const LinkFailure& failure, int address,
                                const std::string& devicePath) {
  const std::string at = " on " + devicePath;
  const std::string from = " from address " + std::to_string(address);
  const modbus::PortFailure& port = failure.port;
  if (failure.cancelled) return "cancelled before the request was sent";
  if (failure.anotherTalker) {
    return "more than one instrument answered address " + std::to_string(address) + at +
           " (two units on one address?); nothing of the reply was taken";
  }
  // Whatever the exchange made of it, a port that went away is the cause.
  if (port.kind == modbus::PortFailureKind::kWentAway) return PortFailureCause(port);
  switch (failure.code) {
    case modbus::kPortHardwareError:
      if (port.kind != modbus::PortFailureKind::kNone) return PortFailureCause(port);
      return "the port failed during the exchange" + at;
    case modbus::kNoAnswer:
      return "no reply" + from + at;
    case modbus::kPortOpenError:
      if (port.kind != modbus::PortFailureKind::kNone) return PortFailureCause(port);
      return devicePath + " could not be opened";
    case modbus::kNoStartMarker:
      if (const std::string seen = beforeColon(failure.received); !seen.empty()) {
        return "the reply" + from + at + " began with " + seen +
               " before the frame's colon (a transceiver switching direction sends such "
               "bytes); --fast takes the frame after them";
      }
      [[fallthrough]];
    case modbus::kTooShort:
    case modbus::kNoLf:
    case modbus::kNoCr:
    case modbus::kOddDigitCount:
      return "the reply" + from + at + " is not a whole Modbus ASCII frame (code " +
             std::to_string(failure.code) + ")";
    case modbus::kLrcError:
      return "the reply" + from + at + " failed its LRC check";
    case modbus::kWrongAddress:
      return "the reply" + at + " came from another address than " + std::to_string(address);
    case modbus::kExceptionReply:
      return "address " + std::to_string(address) + at +
             " refused the request (exception reply, code " + hexByte(failure.exceptionCode()) +
             ")";
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
