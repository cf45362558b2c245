#pragma once

#include <bit>
#include <cstdint>
#include <string>

namespace sim {

// A flat little-endian byte image of register memory; register r is bytes 2r
// and 2r+1. Offsets are bytes; callers keep them inside the image.
class ByteImage {
 public:
  explicit ByteImage(std::size_t size) : bytes_(size, '\0') {}

  std::size_t size() const { return bytes_.size(); }
  std::string bytes(std::size_t offset, std::size_t count) const {
    return bytes_.substr(offset, count);
  }
  void setBytes(std::size_t offset, const std::string& data) {
    bytes_.replace(offset, data.size(), data);
  }

  uint8_t u8(std::size_t offset) const { return static_cast<uint8_t>(bytes_[offset]); }
  void setU8(std::size_t offset, uint8_t value) { bytes_[offset] = static_cast<char>(value); }

  uint16_t u16(std::size_t offset) const {
    return static_cast<uint16_t>(u8(offset) | (u8(offset + 1) << 8));
  }
  void setU16(std::size_t offset, uint16_t value) {
    setU8(offset, static_cast<uint8_t>(value));
    setU8(offset + 1, static_cast<uint8_t>(value >> 8));
  }

  uint32_t u32(std::size_t offset) const {
    return uint32_t{u16(offset)} | (uint32_t{u16(offset + 2)} << 16);
  }
  void setU32(std::size_t offset, uint32_t value) {
    setU16(offset, static_cast<uint16_t>(value));
    setU16(offset + 2, static_cast<uint16_t>(value >> 16));
  }

  float f32(std::size_t offset) const { return std::bit_cast<float>(u32(offset)); }
  void setF32(std::size_t offset, float value) { setU32(offset, std::bit_cast<uint32_t>(value)); }

 private:
  std::string bytes_;
};

}  // namespace sim
