#pragma once

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "modbus/platform_services.h"
#include "modbus/port_interface.h"

namespace device_test {

// Serial port that logs its calls, fails the step named in `failAt`, and puts
// `reply` into its input queue as soon as a frame is written.
class FakePort : public modbus::PortInterface {
 public:
  std::vector<std::string> calls;
  std::string failAt;  // "Close", "SetComNumber", "Open", ...
  std::string reply;
  std::vector<std::string> written;
  modbus::PortFailure failure;  // what LastFailure() reports

  void Close() override {
    step("Close");
    open_ = false;
  }
  void SetComNumber(uint16_t number) override { step("SetComNumber " + std::to_string(number)); }
  void SetBaudRate(uint32_t bitsPerSecond) override {
    step("SetBaudRate " + std::to_string(bitsPerSecond));
  }
  void Open() override {
    step("Open");
    open_ = true;
  }
  void WriteString(const modbus::ByteString& text) override {
    step("WriteString");
    written.push_back(text);
    waiting_ = reply;
  }
  int32_t InBufUsed() override { return open_ ? static_cast<int32_t>(waiting_.size()) : 0; }
  modbus::ByteString ReadString() override {
    step("ReadString");
    return std::exchange(waiting_, {});
  }
  modbus::PortFailure LastFailure() const override { return failure; }

 private:
  void step(const std::string& call) {
    calls.push_back(call);
    if (call.rfind(failAt, 0) == 0 && !failAt.empty()) throw std::runtime_error(call);
  }

  bool open_ = false;
  modbus::ByteString waiting_;
};

// Tick that only moves when the pump waits: every wait passes exactly the
// time asked for, so an exchange runs instantly and deterministically.
class FakeClock : public modbus::TickSource, public modbus::EventPump {
 public:
  std::function<void()> onPump;  // an event served during the wait

  uint32_t Tick() override { return now_; }
  void ProcessEvents(std::chrono::microseconds maxWait) override {
    now_ += static_cast<uint32_t>((maxWait.count() + 999) / 1000);
    if (onPump && !inPump_) {
      inPump_ = true;
      onPump();
      inPump_ = false;
    }
  }

 private:
  uint32_t now_ = 1000;
  bool inPump_ = false;
};

}  // namespace device_test
