#include "device/reply_capturing_port.h"

#include "modbus/frame_codec.h"
#include "modbus/reply_selection.h"

namespace device {

namespace {

constexpr uint8_t kExceptionBit = 0x80;

}  // namespace

void ReplyCapturingPort::WriteString(const modbus::ByteString& text) {
  frame_ = text;
  reply_.clear();
  port_.WriteString(text);
}

modbus::ByteString ReplyCapturingPort::ReadString() {
  modbus::ByteString read = port_.ReadString();
  reply_ += read;
  return read;
}

uint8_t ReplyCapturingPort::exceptionCode() const {
  const modbus::ExchangeResult request = modbus::DecodeReply(frame_);
  if (request.size() < 2) return 0;
  const modbus::ExchangeResult reply = modbus::DecodeReply(modbus::SelectReply(reply_, request));
  // Address, function with its top bit set, code.
  if (reply.size() != 3 ||
      static_cast<uint8_t>(reply[1]) != (static_cast<uint8_t>(request[1]) | kExceptionBit))
    return 0;
  return static_cast<uint8_t>(reply[2]);
}

}  // namespace device
