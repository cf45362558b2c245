#pragma once

#include <cstdint>

#include "device/link_parameters.h"
#include "modbus/byte_string.h"

namespace device {

// What the device operations need of the link: the shared link-parameter
// record, the busy flag, the port check and the three register requests. The
// requests go out with the record's port, speed, timing, address and exchange
// mode as they are at the call. While one request or the port check runs the link is busy;
// a request or port check made while busy does not touch the port (a request
// then returns a one-byte result, the port check false). An operation or poll
// tick that finds the link busy must not start at all: in particular it must
// not write the record, which the running operation is still using.
class RegisterLink {
 public:
  virtual ~RegisterLink() = default;

  virtual LinkParameters& parameters() = 0;
  virtual bool busy() const = 0;

  // Close, set the port number, open, close. False if any step failed.
  virtual bool portCheck() = 0;

  virtual modbus::ExchangeResult readHoldingRegisters(int32_t start, int32_t count) = 0;
  virtual modbus::ExchangeResult readInputRegisters(int32_t start, int32_t count) = 0;
  virtual modbus::ExchangeResult writeMultipleRegisters(int32_t start, int32_t count,
                                                        const modbus::ByteString& data) = 0;

  // A write operation runs whole once it has begun (see WholeWrite): a link
  // that stops taking requests when the window closes still carries the
  // requests of an open write, each bounded by its timing set, so that the
  // instrument is not left half-written.
  virtual void beginWholeWrite() {}
  virtual void endWholeWrite() {}
};

// Held by a write operation from its start to its end.
class WholeWrite {
 public:
  explicit WholeWrite(RegisterLink& link) : link_(link) { link_.beginWholeWrite(); }
  WholeWrite(const WholeWrite&) = delete;
  WholeWrite& operator=(const WholeWrite&) = delete;
  ~WholeWrite() { link_.endWholeWrite(); }

 private:
  RegisterLink& link_;
};

}  // namespace device
