#pragma once

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

  void ProcessEvents(std::chrono::microseconds maxWait) override;

  int calls() const { return calls_; }
  // The longest run of calls that could not move the clock: a spinning wait shows here.
  int longestStandstill() const { return longestStandstill_; }
  bool spun() const { return spun_; }

 private:
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
