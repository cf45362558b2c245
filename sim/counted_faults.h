#pragma once

#include <cstdint>
#include <optional>

namespace sim {

// Misbehaviours that hit a given request: each counts the requests the
// instruments on the line take, from start or from the moment it was set.
// Not thread-safe; the simulator guards it with its settings lock.
class CountedFaults {
 public:
  // Answers the next `n` requests, then none; -1: off.
  void setSilentAfter(int n);
  // The `n`-th request (1-based) gets exception `code` and is not carried out;
  // 0 or less: off.
  void setExceptionAt(int n, uint8_t code);
  // After `n` requests have been dealt with (replies out) the line goes away,
  // once; it comes back `backAfterMs` later, or never if that is negative.
  // -1: off.
  void setHangupAfter(int n, int backAfterMs);

  struct Fate {
    bool silent = false;
    std::optional<uint8_t> exception;
  };
  // One more request taken by an instrument.
  Fate take();
  // One more request dealt with: its reply written, or none due.
  void done();
  // When the hang-up is due: its back-after time (negative: never back), once.
  std::optional<int> takeHangup();

 private:
  int silentAfter_ = -1;
  long long silentSeen_ = 0;
  int exceptionAt_ = 0;
  uint8_t exceptionCode_ = 0;
  long long exceptionSeen_ = 0;
  int hangupAfter_ = -1;
  int backAfterMs_ = -1;
  long long hangupSeen_ = 0;
};

}  // namespace sim
