#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>

#include "fake_clock.h"
#include "modbus/platform_services.h"
#include "scripted_port.h"

namespace modbus::testing {

// Moves the fake clock by the wait it is given, as a blocking pump with no
// events would. An event (a scripted byte arriving, or a periodic wake-up such
// as a window timer) ends the wait early. A late pump overshoots every wait,
// like a coarse platform tick.
class FakePump : public EventPump {
 public:
  explicit FakePump(FakeClock& clock) : clock_(clock) {}

  void WakeOnArrivalsOf(const ScriptedPort* port) { port_ = port; }
  // Each wait ends after at most the ms the function returns (>= 1).
  void WakeEarly(std::function<uint32_t()> nextWakeMs) { nextWakeMs_ = std::move(nextWakeMs); }
  void OvershootBy(uint32_t ms) { overshootMs_ = ms; }

  void ProcessEvents(std::chrono::microseconds maxWait) override {
    ++calls_;
    // Round up: a real pump never returns before its wait is over.
    auto ms = static_cast<uint32_t>((std::max<int64_t>(maxWait.count(), 0) + 999) / 1000);
    if (ms > 0 && port_) {
      if (auto next = port_->NextArrival()) ms = std::min(ms, *next - clock_.now());
    }
    if (ms > 0 && nextWakeMs_) ms = std::min(ms, std::max<uint32_t>(nextWakeMs_(), 1));
    if (ms > 0) ms += overshootMs_;
    if (ms == 0) {
      longestStandstill_ = std::max(longestStandstill_, ++standstill_);
      if (standstill_ < kSpinLimit) return;
      spun_ = true;  // move on so that a spinning wait fails instead of hanging
      ms = 1;
    }
    standstill_ = 0;
    clock_.Advance(ms);
  }

  int calls() const { return calls_; }
  // The longest run of calls that could not move the clock: a spinning wait shows here.
  int longestStandstill() const { return longestStandstill_; }
  bool spun() const { return spun_; }

 private:
  static constexpr int kSpinLimit = 1000;  // far more zero waits in a row than any pass needs

  FakeClock& clock_;
  const ScriptedPort* port_ = nullptr;
  std::function<uint32_t()> nextWakeMs_;
  uint32_t overshootMs_ = 0;
  int calls_ = 0;
  int standstill_ = 0;
  int longestStandstill_ = 0;
  bool spun_ = false;
};

}  // namespace modbus::testing
