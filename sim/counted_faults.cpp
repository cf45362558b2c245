#include "sim/counted_faults.h"

namespace sim {

void CountedFaults::setSilentAfter(int n) {
  silentAfter_ = n < 0 ? -1 : n;
  silentSeen_ = 0;
}

void CountedFaults::setExceptionAt(int n, uint8_t code) {
  exceptionAt_ = n < 0 ? 0 : n;
  exceptionCode_ = code;
  exceptionSeen_ = 0;
}

void CountedFaults::setHangupAfter(int n, int backAfterMs) {
  hangupAfter_ = n < 0 ? -1 : n;
  backAfterMs_ = backAfterMs;
  hangupSeen_ = 0;
}

CountedFaults::Fate CountedFaults::take() {
  Fate fate;
  ++silentSeen_;
  ++exceptionSeen_;
  fate.silent = silentAfter_ >= 0 && silentSeen_ > silentAfter_;
  if (!fate.silent && exceptionAt_ > 0 && exceptionSeen_ == exceptionAt_) {
    fate.exception = exceptionCode_;
  }
  return fate;
}

void CountedFaults::done() { ++hangupSeen_; }

std::optional<int> CountedFaults::takeHangup() {
  if (hangupAfter_ < 0 || hangupSeen_ < hangupAfter_) return std::nullopt;
  hangupAfter_ = -1;
  return backAfterMs_;
}

}  // namespace sim
