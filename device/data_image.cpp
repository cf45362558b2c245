#include "device/data_image.h"

#include <bit>

#include "device/reply_length.h"

namespace device {

namespace {

constexpr size_t kReplyHeaderLength = 3;  // address, function, byte count

}  // namespace

std::optional<DataImage> DataImage::fromReadReply(const modbus::ExchangeResult& reply,
                                                  int32_t registerCount) {
  if (!IsReadSuccess(reply, registerCount)) return std::nullopt;
  return DataImage(reply.substr(kReplyHeaderLength));
}

bool DataImage::holds(size_t offset, size_t width) const {
  return offset <= bytes_.size() && width <= bytes_.size() - offset;
}

uint32_t DataImage::little(size_t offset, size_t width) const {
  uint32_t value = 0;
  for (size_t i = width; i-- > 0;) {
    value = (value << 8) | static_cast<unsigned char>(bytes_[offset + i]);
  }
  return value;
}

void DataImage::putLittle(size_t offset, size_t width, uint32_t value) {
  for (size_t i = 0; i < width; ++i) {
    bytes_[offset + i] = static_cast<char>(value & 0xFFu);
    value >>= 8;
  }
}

std::optional<uint8_t> DataImage::u8(size_t offset) const {
  if (!holds(offset, 1)) return std::nullopt;
  return static_cast<uint8_t>(little(offset, 1));
}

std::optional<uint16_t> DataImage::u16(size_t offset) const {
  if (!holds(offset, 2)) return std::nullopt;
  return static_cast<uint16_t>(little(offset, 2));
}

std::optional<int16_t> DataImage::i16(size_t offset) const {
  if (!holds(offset, 2)) return std::nullopt;
  return static_cast<int16_t>(little(offset, 2));
}

std::optional<int32_t> DataImage::i32(size_t offset) const {
  if (!holds(offset, 4)) return std::nullopt;
  return static_cast<int32_t>(little(offset, 4));
}

std::optional<float> DataImage::f32(size_t offset) const {
  if (!holds(offset, 4)) return std::nullopt;
  return std::bit_cast<float>(little(offset, 4));
}

bool DataImage::setU8(size_t offset, uint8_t value) {
  if (!holds(offset, 1)) return false;
  putLittle(offset, 1, value);
  return true;
}

bool DataImage::setU16(size_t offset, uint16_t value) {
  if (!holds(offset, 2)) return false;
  putLittle(offset, 2, value);
  return true;
}

bool DataImage::setI16(size_t offset, int16_t value) {
  return setU16(offset, static_cast<uint16_t>(value));
}

bool DataImage::setI32(size_t offset, int32_t value) {
  if (!holds(offset, 4)) return false;
  putLittle(offset, 4, static_cast<uint32_t>(value));
  return true;
}

bool DataImage::setF32(size_t offset, float value) {
  if (!holds(offset, 4)) return false;
  putLittle(offset, 4, std::bit_cast<uint32_t>(value));
  return true;
}

}  // namespace device
