#pragma once

#include <optional>

namespace device {

// The one busy flag of the link. An exchange pumps events while it waits, so a
// timer tick or a click can arrive while the port is in use; whatever finds
// the flag set must not start. Single-threaded: everything runs on the UI
// thread, the flag only guards against re-entry through the event pump.
class BusyGuard {
 public:
  // Set while held; released when the hold goes out of scope.
  class Hold {
   public:
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    Hold(Hold&& other) noexcept;
    Hold& operator=(Hold&&) = delete;
    ~Hold();

   private:
    friend class BusyGuard;
    explicit Hold(BusyGuard& guard) : guard_(&guard) {}
    BusyGuard* guard_;
  };

  BusyGuard() = default;
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

  bool busy() const { return busy_; }

  // Empty when the flag is already set: the caller must not touch the port.
  std::optional<Hold> tryAcquire();

 private:
  bool busy_ = false;
};

}  // namespace device
