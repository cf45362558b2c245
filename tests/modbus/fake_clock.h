#pragma once

#include <cstdint>

#include "modbus/platform_services.h"

namespace modbus::testing {

// A tick that moves only when a test (or the fake pump) moves it.
class FakeClock : public TickSource {
 public:
  explicit FakeClock(uint32_t start = 0) : now_(start) {}
  uint32_t Tick() override { return now_; }
  void Advance(uint32_t ms) { now_ += ms; }
  uint32_t now() const { return now_; }

 private:
  uint32_t now_;
};

}  // namespace modbus::testing
