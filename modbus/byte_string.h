#pragma once

#include <string>

namespace modbus {

// Counted 8-bit bytes, any value allowed (zero included). Payloads, frames,
// raw replies and results are all carried this way.
using ByteString = std::string;

// Either exactly one byte (a result code) or a decoded reply of at least
// three bytes: address, function code, data. Callers tell them apart by length.
using ExchangeResult = ByteString;

}  // namespace modbus
