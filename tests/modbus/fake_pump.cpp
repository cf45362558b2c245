#include "fake_pump.h"

#include <algorithm>

namespace modbus::testing {

namespace {
// Far more zero waits in a row than any pass of the wait needs.
constexpr int kSpinLimit = 1000;
}  // namespace

void FakePump::ProcessEvents(std::chrono::microseconds maxWait) {
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
    // Keep a spinning wait from hanging the test; the flag fails it.
    spun_ = true;
    ms = 1;
  }
  standstill_ = 0;
  clock_.Advance(ms);
}

}  // namespace modbus::testing
