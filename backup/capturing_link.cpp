#include "backup/capturing_link.h"

#include "device/data_image.h"
#include "device/reply_length.h"
#include "modbus/result_codes.h"

namespace backup {

namespace {

constexpr uint8_t kWriteFunction = 0x10;

// What the instrument echoes to a write: address, function, start, count.
modbus::ExchangeResult writeEcho(int32_t start, int32_t count) {
  return {static_cast<char>(device::kInstrumentAddress),
          static_cast<char>(kWriteFunction),
          static_cast<char>(start >> 8),
          static_cast<char>(start & 0xFF),
          static_cast<char>(count >> 8),
          static_cast<char>(count & 0xFF)};
}

}  // namespace

device::LinkParameters& CapturingLink::parameters() {
  return target_ ? target_->parameters() : parameters_;
}

bool CapturingLink::busy() const { return target_ && target_->busy(); }

bool CapturingLink::portCheck() { return !target_ || target_->portCheck(); }

modbus::ExchangeResult CapturingLink::readHoldingRegisters(int32_t start, int32_t count) {
  if (!target_) return modbus::CodeResult(modbus::kNoAnswer);
  modbus::ExchangeResult reply = target_->readHoldingRegisters(start, count);
  if (const auto image = device::DataImage::fromReadReply(reply, count)) {
    read_.put(start, image->bytes());
  }
  return reply;
}

modbus::ExchangeResult CapturingLink::readInputRegisters(int32_t start, int32_t count) {
  if (!target_) return modbus::CodeResult(modbus::kNoAnswer);
  return target_->readInputRegisters(start, count);
}

modbus::ExchangeResult CapturingLink::writeMultipleRegisters(int32_t start, int32_t count,
                                                             const modbus::ByteString& data) {
  writes_.push_back({start, count, data});
  if (!target_) return writeEcho(start, count);
  return target_->writeMultipleRegisters(start, count, data);
}

}  // namespace backup
