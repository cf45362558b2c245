#pragma once

#include <optional>

#include "backup/register_image.h"
#include "device/identification_block.h"
#include "device/register_link.h"
#include "modbus/byte_string.h"

namespace backup {

// The instrument's identification block (HR 120..125) as decoded and as its
// 12 raw data bytes, which a backup carries as they are.
struct Identification {
  device::IdentificationBlock block;
  modbus::ByteString raw;

  // Empty unless the bytes are the whole block.
  static std::optional<Identification> fromBytes(const modbus::ByteString& raw);
  // From the reply to a read of the block; empty unless it has a read's length.
  static std::optional<Identification> fromReply(const modbus::ExchangeResult& reply);
  // From holding registers as read; empty unless every byte of the block is there.
  static std::optional<Identification> fromImage(const RegisterImage& read);

  device::IdentificationTexts texts() const { return device::FormatIdentification(block); }
};

// One read of the block at the port and speed the link holds, with the
// standard timing set; empty unless the whole block was answered.
std::optional<Identification> ReadIdentification(device::RegisterLink& link);

}  // namespace backup
