#pragma once

#include "modbus/byte_string.h"

namespace modbus {

// Receives the hex dumps an exchange shows on the debug page: the request
// frame before it is written, the raw reply once the port is closed again.
class ExchangeObserver {
 public:
  virtual ~ExchangeObserver() = default;
  virtual void QueryDumpChanged(const ByteString& hexDump) = 0;
  virtual void AnswerDumpChanged(const ByteString& hexDump) = 0;
};

}  // namespace modbus
