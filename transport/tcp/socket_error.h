#pragma once

#include "transport/exception.h"

namespace transport {

// Raised by TClientSocket when a property cannot take a value or a connection
// cannot be started, and shown for the errors the connection reports later.
class ESocketError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace transport
