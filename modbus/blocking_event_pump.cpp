#include "modbus/blocking_event_pump.h"

#include <utility>

namespace modbus {

void BlockingEventPump::Post(std::function<void()> event) {
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(event));
  }
  posted_.notify_one();
}

void BlockingEventPump::ProcessEvents(std::chrono::microseconds maxWait) {
  std::deque<std::function<void()>> due;
  {
    std::unique_lock lock(mutex_);
    if (maxWait.count() > 0) posted_.wait_for(lock, maxWait, [this] { return !pending_.empty(); });
    due.swap(pending_);
  }
  // Run outside the lock: an event may post further events; they wait for the next call.
  for (auto& event : due) event();
}

}  // namespace modbus
