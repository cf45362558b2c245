#include "device/busy_guard.h"

namespace device {

BusyGuard::Hold::Hold(Hold&& other) noexcept : guard_(other.guard_) { other.guard_ = nullptr; }

BusyGuard::Hold::~Hold() {
  if (guard_ != nullptr) guard_->busy_ = false;
}

std::optional<BusyGuard::Hold> BusyGuard::tryAcquire() {
  if (busy_) return std::nullopt;
  busy_ = true;
  return Hold(*this);
}

}  // namespace device
