#pragma once

#include <cstdint>

#include "modbus/byte_string.h"
#include "modbus/port_failure.h"

namespace device {

// How the link's last port check or request ended, as the status bar tells it.
struct LinkOutcome {
  enum class Kind {
    kAnswered,        // the port check passed, or the instrument replied as asked
    kPortFailed,      // the port would not open, or failed during the exchange
    kNoReply,         // the request went out, nothing (whole) came back
    kExceptionReply,  // the instrument refused the request
    kBadReply,        // a reply came that is not one (garbled, foreign, wrong length)
  };
  Kind kind = Kind::kAnswered;
  modbus::PortFailure port;   // kPortFailed: the cause as the port saw it
  uint8_t exceptionCode = 0;  // kExceptionReply: the instrument's code, 0 if unknown

  bool operator==(const LinkOutcome& other) const {
    return kind == other.kind && port.kind == other.port.kind &&
           port.systemError == other.port.systemError && port.devicePath == other.port.devicePath &&
           exceptionCode == other.exceptionCode;
  }
};

}  // namespace device
