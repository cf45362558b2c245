#pragma once

#include <cstdint>

#include "modbus/byte_string.h"
#include "modbus/port_failure.h"

namespace modbus {

// What an exchange needs of the serial port. Failures are raised as
// exceptions; the exchange turns them into result codes.
class PortInterface {
 public:
  virtual ~PortInterface() = default;

  virtual void Close() = 0;  // allowed when already closed
  virtual void SetComNumber(uint16_t number) = 0;
  // One of 2400, 4800, 9600, 19200, 38400, 57600, 115200 bit/s.
  virtual void SetBaudRate(uint32_t bitsPerSecond) = 0;
  virtual void Open() = 0;
  virtual void WriteString(const ByteString& text) = 0;
  virtual int32_t InBufUsed() = 0;      // bytes waiting in the input queue, 0 when closed
  virtual ByteString ReadString() = 0;  // all waiting bytes

  // Why the last Open failed, or why the open port failed since; kNone after
  // a good open. Ports that cannot tell report kNone.
  virtual PortFailure LastFailure() const { return {}; }
};

}  // namespace modbus
