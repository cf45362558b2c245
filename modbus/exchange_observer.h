#pragma once

#include <cstdint>

#include "modbus/byte_string.h"

namespace modbus {

// One write request (0Fh or 10h) as its caller gave it.
struct WriteRequest {
  uint8_t portNumber = 0;
  uint8_t address = 0;
  uint8_t function = 0;
  int32_t start = 0;
  int32_t count = 0;
  ByteString data;
};

// Hears what the exchanges do: the hex dumps the debug page shows (the
// request frame before it is written, the raw reply once the port is closed
// again), and the end of every write request with the result its caller gets.
class ExchangeObserver {
 public:
  virtual ~ExchangeObserver() = default;
  virtual void QueryDumpChanged(const ByteString& hexDump) = 0;
  virtual void AnswerDumpChanged(const ByteString& hexDump) = 0;
  // Also when the port would not open and nothing went out.
  virtual void WriteEnded(const WriteRequest& /*request*/, const ExchangeResult& /*result*/) {}
};

}  // namespace modbus
