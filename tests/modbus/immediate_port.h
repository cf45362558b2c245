#pragma once

#include <cstdint>
#include <utility>

#include "modbus/port_interface.h"

namespace modbus::testing {

// Answers every request with the same bytes, all in the input queue the
// moment the request is written. Closing drops an unread reply.
class ImmediatePort : public PortInterface {
 public:
  explicit ImmediatePort(ByteString reply) : reply_(std::move(reply)) {}
  void Close() override {
    open_ = false;
    input_.clear();
  }
  void SetComNumber(uint16_t) override {}
  void SetBaudRate(uint32_t) override {}
  void Open() override { open_ = true; }
  void WriteString(const ByteString&) override { input_ = reply_; }
  int32_t InBufUsed() override { return open_ ? static_cast<int32_t>(input_.size()) : 0; }
  ByteString ReadString() override { return std::exchange(input_, {}); }

 private:
  ByteString reply_;
  ByteString input_;
  bool open_ = false;
};

}  // namespace modbus::testing
