#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "device/data_image.h"

namespace device {

// Holding registers 120..125: manufacturing date, serial number, firmware
// version and type code.
inline constexpr int32_t kIdentificationStart = 120;
inline constexpr int32_t kIdentificationCount = 6;
inline constexpr uint8_t kUlm5TypeCode = 7;

struct IdentificationBlock {
  uint8_t day = 0;
  uint8_t month = 0;
  uint8_t year = 0;  // two digits
  int32_t serial = 0;
  int16_t version = 0;  // tenths: 12 is 1.2
  uint8_t typeCode = 0;
};

// The four texts of the " Информация о приборе " group.
struct IdentificationTexts {
  std::string type;     // statictextPribCode
  std::string version;  // statictextPribVer
  std::string date;     // statictextDatePrib
  std::string serial;   // statictextPribSerial
};

// Empty unless the image holds the whole 12-byte block.
std::optional<IdentificationBlock> DecodeIdentificationBlock(const DataImage& image);
// The block of a successful read of registers 120..125; empty for any other result.
std::optional<IdentificationBlock> DecodeIdentificationReply(const modbus::ExchangeResult& reply);

IdentificationTexts FormatIdentification(const IdentificationBlock& block);

// v / 10 "." v % 10 with the sign in front: 12 -> "1.2", 7 -> "0.7", -5 -> "-0.5".
std::string FormatVersion(int16_t tenths);

}  // namespace device
