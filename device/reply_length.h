#pragma once

#include <cstddef>
#include <cstdint>

#include "modbus/byte_string.h"

namespace device {

// Operations judge a result by its length alone: a read of n registers
// succeeded only with address, function, byte count and 2n data bytes; a write
// only with its 6-byte echo. A one-byte result code never passes (3 + 2n >= 5).
inline bool IsReadSuccess(const modbus::ExchangeResult& result, int32_t registerCount) {
  return registerCount > 0 && result.size() == 3 + 2 * static_cast<size_t>(registerCount);
}

inline constexpr size_t kWriteReplyLength = 6;

inline bool IsWriteSuccess(const modbus::ExchangeResult& result) {
  return result.size() == kWriteReplyLength;
}

}  // namespace device
