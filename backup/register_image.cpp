#include "backup/register_image.h"

namespace backup {

void RegisterImage::putAt(int32_t address, const modbus::ByteString& data) {
  for (size_t i = 0; i < data.size(); ++i) {
    bytes_[address + static_cast<int32_t>(i)] = static_cast<uint8_t>(data[i]);
  }
}

std::optional<modbus::ByteString> RegisterImage::bytes(int32_t reg, int byte, int width) const {
  modbus::ByteString data;
  for (int i = 0; i < width; ++i) {
    const auto value = at(2 * reg + byte + i);
    if (!value) return std::nullopt;
    data += static_cast<char>(*value);
  }
  return data;
}

std::optional<uint8_t> RegisterImage::at(int32_t address) const {
  const auto found = bytes_.find(address);
  if (found == bytes_.end()) return std::nullopt;
  return found->second;
}

}  // namespace backup
