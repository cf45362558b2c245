#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "modbus/byte_string.h"

namespace backup {

// Bytes of the instrument's holding registers as read or to be written,
// addressed as the data image lays them out: register r is bytes 2r and
// 2r + 1.
class RegisterImage {
 public:
  void put(int32_t startRegister, const modbus::ByteString& data) {
    putAt(2 * startRegister, data);
  }
  void putAt(int32_t address, const modbus::ByteString& data);
  // Empty unless every byte is known.
  std::optional<modbus::ByteString> bytes(int32_t reg, int byte, int width) const;
  std::optional<uint8_t> at(int32_t address) const;
  bool operator==(const RegisterImage&) const = default;

 private:
  std::map<int32_t, uint8_t> bytes_;
};

}  // namespace backup
