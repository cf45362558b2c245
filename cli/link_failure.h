#pragma once

#include <cstdint>

#include "cli/exit_code.h"
#include "modbus/byte_string.h"
#include "modbus/port_failure.h"

namespace cli {

// Why the last request of the link failed, with what the line showed of it.
struct LinkFailure {
  uint8_t code = 0;             // the request's result code; 0 when it succeeded
  bool anotherTalker = false;   // more than one instrument answered: its result was set aside
  bool cancelled = false;       // not sent: Ctrl+C or a signal came first
  bool sent = false;            // the request went out: a write may have taken effect
  modbus::ByteString received;  // what came back, as it came
  modbus::ByteString answer;    // the frame in it that answered the request, if one did
  modbus::PortFailure port;     // what the port said of itself

  bool failed() const { return code != 0 || anotherTalker || cancelled; }
  bool portFailed() const;
  // The function's exception code of an exception reply.
  uint8_t exceptionCode() const;
};

// 3 for the port, 6 for an exception reply, the signal's code when
// cancelled, else 4.
ExitCode ExitCodeOf(const LinkFailure& failure);

}  // namespace cli
