#pragma once

#include <string>

#include "transport/exception.h"

namespace transport {

// Raised by the port core with the bare text.
class EAfComPortCoreError : public Exception {
 public:
  using Exception::Exception;
};

// Raised by the port component; the text carries the component's name
// ("%s - %s ", see TAfCustomSerialPort::PortError).
class EAfComPortError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace transport
