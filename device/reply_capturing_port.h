#pragma once

#include "modbus/port_interface.h"

namespace device {

// The link's port as the exchange sees it: everything goes to the real port,
// and the frame written and the raw bytes read after it are kept, so that an
// exception reply can be told by its code.
class ReplyCapturingPort final : public modbus::PortInterface {
 public:
  explicit ReplyCapturingPort(modbus::PortInterface& port) : port_(port) {}

  void Close() override { port_.Close(); }
  void SetComNumber(uint16_t number) override { port_.SetComNumber(number); }
  void SetBaudRate(uint32_t bitsPerSecond) override { port_.SetBaudRate(bitsPerSecond); }
  void Open() override { port_.Open(); }
  void WriteString(const modbus::ByteString& text) override;
  int32_t InBufUsed() override { return port_.InBufUsed(); }
  modbus::ByteString ReadString() override;
  modbus::PortFailure LastFailure() const override { return port_.LastFailure(); }

  // The exception code of the reply to the last frame written, 0 when that
  // reply is no exception reply (or none came).
  uint8_t exceptionCode() const;

 private:
  modbus::PortInterface& port_;
  modbus::ByteString frame_;
  modbus::ByteString reply_;
};

}  // namespace device
