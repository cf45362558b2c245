#pragma once

#include <chrono>
#include <cstdint>

namespace modbus {

// 32-bit millisecond tick. Differences are taken as signed 32-bit, so the
// counter may wrap. A scaled tick (end-to-end tests) runs faster than real
// time; RealDuration converts tick milliseconds into the real time they take,
// so that a pump blocking "until the next check" stays consistent with it.
class TickSource {
 public:
  virtual ~TickSource() = default;
  virtual uint32_t Tick() = 0;
  virtual std::chrono::microseconds RealDuration(int32_t tickMs) {
    return std::chrono::microseconds(int64_t{tickMs} * 1000);
  }
};

// Serves the pending window events of the user-interface thread. If none is
// pending it blocks until one arrives or `maxWait` (real time) has passed,
// then returns. A zero wait only serves what is pending.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void ProcessEvents(std::chrono::microseconds maxWait) = 0;
};

}  // namespace modbus
