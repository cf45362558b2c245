#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "modbus/byte_string.h"

namespace device {

// The instrument's register blocks are byte images of its memory: fields sit
// at data-byte offsets, multi-byte values least significant byte first,
// floats as IEEE 754 single precision. Reads are bounds-checked: a field that
// does not lie wholly inside the image is absent, so nothing is decoded that
// the reply's length does not prove is there. Writes outside the image are
// refused.
class DataImage {
 public:
  // Zero-filled image of `size` bytes, for building a write payload.
  explicit DataImage(size_t size) : bytes_(size, '\0') {}

  // The data bytes of a register read (reply byte i + 3 is data byte i), only
  // if the reply has exactly the length of a read of `registerCount`
  // registers.
  static std::optional<DataImage> fromReadReply(const modbus::ExchangeResult& reply,
                                                int32_t registerCount);

  size_t size() const { return bytes_.size(); }
  const modbus::ByteString& bytes() const { return bytes_; }

  std::optional<uint8_t> u8(size_t offset) const;
  std::optional<uint16_t> u16(size_t offset) const;
  std::optional<int16_t> i16(size_t offset) const;
  std::optional<int32_t> i32(size_t offset) const;
  std::optional<float> f32(size_t offset) const;

  bool setU8(size_t offset, uint8_t value);
  bool setU16(size_t offset, uint16_t value);
  bool setI16(size_t offset, int16_t value);
  bool setI32(size_t offset, int32_t value);
  bool setF32(size_t offset, float value);

 private:
  explicit DataImage(modbus::ByteString bytes) : bytes_(std::move(bytes)) {}
  bool holds(size_t offset, size_t width) const;
  uint32_t little(size_t offset, size_t width) const;
  void putLittle(size_t offset, size_t width, uint32_t value);

  modbus::ByteString bytes_;
};

}  // namespace device
