#pragma once

#include <cstdint>

#include "modbus/byte_string.h"

namespace modbus {

// One-byte results of an exchange and of the function requests.
enum ResultCode : uint8_t {
  kPortHardwareError = 0x01,  // the port failed during write, wait, read or the closing after it
  kNoAnswer = 0x02,           // nothing by the response delay, or still receiving at the limit
  kPortOpenError = 0x03,   // the port failed while being closed, numbered, set to speed or opened
  kNoStartMarker = 0x04,   // reply does not begin with ':'
  kTooShort = 0x05,        // reply shorter than 11 characters
  kNoLf = 0x06,            // last character is not LF
  kNoCr = 0x07,            // character before the LF is not CR
  kOddDigitCount = 0x08,   // odd number of characters between ':' and CR LF
  kLrcError = 0x09,        // LRC check failed
  kWrongAddress = 0x15,    // reply from another address
  kExceptionReply = 0x16,  // function code with bit 7 set
  kWrongFunction = 0x17,   // neither the function nor its exception code
  kWrongByteCount = 0x18,  // byte count differs from the expected one (reads)
  kWrongLength = 0x19,     // length differs from byte count + 3 (reads)
  kWrongWriteReplyLength = 0x1A,  // write reply not exactly 6 bytes
};

// The one-byte ExchangeResult that carries a code.
inline ExchangeResult CodeResult(uint8_t code) {
  return ExchangeResult(1, static_cast<char>(code));
}

}  // namespace modbus
