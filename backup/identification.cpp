#include "backup/identification.h"

#include "device/data_image.h"
#include "device/link_parameters.h"
#include "device/scoped_timing.h"

namespace backup {

std::optional<Identification> Identification::fromBytes(const modbus::ByteString& raw) {
  if (raw.size() != 2 * static_cast<size_t>(device::kIdentificationCount)) return std::nullopt;
  device::DataImage image(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) image.setU8(i, static_cast<uint8_t>(raw[i]));
  const auto block = device::DecodeIdentificationBlock(image);
  if (!block) return std::nullopt;
  return Identification{*block, raw};
}

std::optional<Identification> Identification::fromReply(const modbus::ExchangeResult& reply) {
  const auto image = device::DataImage::fromReadReply(reply, device::kIdentificationCount);
  return image ? fromBytes(image->bytes()) : std::nullopt;
}

std::optional<Identification> Identification::fromImage(const RegisterImage& read) {
  const auto raw = read.bytes(device::kIdentificationStart, 0, 2 * device::kIdentificationCount);
  return raw ? fromBytes(*raw) : std::nullopt;
}

std::optional<Identification> ReadIdentification(device::RegisterLink& link) {
  const device::ScopedTiming timing(link.parameters(), device::kStandardTiming);
  return Identification::fromReply(
      link.readHoldingRegisters(device::kIdentificationStart, device::kIdentificationCount));
}

}  // namespace backup
