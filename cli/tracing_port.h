#pragma once

#include <chrono>
#include <ostream>

#include "modbus/port_interface.h"

namespace cli {

// --trace: the port of the exchanges, writing every frame sent and every
// piece received to a stream with the milliseconds since the program began.
class TracingPort final : public modbus::PortInterface {
 public:
  TracingPort(modbus::PortInterface& port, std::ostream& out) : port_(port), out_(out) {}

  void Close() override { port_.Close(); }
  void SetComNumber(uint16_t number) override { port_.SetComNumber(number); }
  void SetBaudRate(uint32_t bitsPerSecond) override;
  void Open() override;
  void WriteString(const modbus::ByteString& text) override;
  int32_t InBufUsed() override { return port_.InBufUsed(); }
  modbus::ByteString ReadString() override;
  modbus::PortFailure LastFailure() const override { return port_.LastFailure(); }

 private:
  void line(const char* what, const modbus::ByteString& text);

  modbus::PortInterface& port_;
  std::ostream& out_;
  uint32_t bitsPerSecond_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace cli
