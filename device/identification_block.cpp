#include "device/identification_block.h"

#include <cstdlib>

#include "device/date_time_text.h"

namespace device {

namespace {

constexpr size_t kDayOffset = 0;
constexpr size_t kMonthOffset = 1;
constexpr size_t kYearOffset = 2;
constexpr size_t kSerialOffset = 4;
constexpr size_t kVersionOffset = 8;
constexpr size_t kTypeOffset = 10;
constexpr size_t kBlockLength = 12;

}  // namespace

std::optional<IdentificationBlock> DecodeIdentificationBlock(const DataImage& image) {
  if (image.size() < kBlockLength) return std::nullopt;
  IdentificationBlock block;
  block.day = *image.u8(kDayOffset);
  block.month = *image.u8(kMonthOffset);
  block.year = *image.u8(kYearOffset);
  block.serial = *image.i32(kSerialOffset);
  block.version = *image.i16(kVersionOffset);
  block.typeCode = *image.u8(kTypeOffset);
  return block;
}

std::optional<IdentificationBlock> DecodeIdentificationReply(const modbus::ExchangeResult& reply) {
  const auto image = DataImage::fromReadReply(reply, kIdentificationCount);
  return image ? DecodeIdentificationBlock(*image) : std::nullopt;
}

std::string FormatVersion(int16_t tenths) {
  // Quotient and remainder of the magnitude, so a negative version reads as
  // a number ("-0.5") instead of "0.-5".
  const int magnitude = std::abs(static_cast<int>(tenths));
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(magnitude / 10);
  text += '.';
  text += std::to_string(magnitude % 10);
  return text;
}

IdentificationTexts FormatIdentification(const IdentificationBlock& block) {
  IdentificationTexts texts;
  texts.type = block.typeCode == kUlm5TypeCode ? "ULM5" : "Неиз.приб";
  texts.version = FormatVersion(block.version);
  texts.date = DateText(block.day, block.month, block.year);
  texts.serial = std::to_string(block.serial);
  return texts;
}

}  // namespace device
