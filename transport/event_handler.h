#pragma once

#include <memory>
#include <mutex>
#include <utility>

namespace transport {

// An event property of the serial port: a handler the main thread may assign
// at any time, also while the port's threads ask whether it is assigned or
// raise it. A raise runs the handler that was assigned when it began; one
// assigned meanwhile takes over from the next raise on.
template <typename Handler>
class EventHandler {
 public:
  EventHandler() = default;
  EventHandler(const EventHandler&) = delete;
  EventHandler& operator=(const EventHandler&) = delete;

  EventHandler& operator=(Handler handler) {
    std::shared_ptr<const Handler> next;
    if (handler) next = std::make_shared<const Handler>(std::move(handler));
    std::lock_guard lock(mutex_);
    // The one replaced is released after the lock, in `next`.
    current_.swap(next);
    return *this;
  }

  explicit operator bool() const {
    std::lock_guard lock(mutex_);
    return current_ != nullptr;
  }

  // Does nothing while unassigned.
  template <typename... Args>
  void operator()(Args&&... args) const {
    std::shared_ptr<const Handler> handler;
    {
      std::lock_guard lock(mutex_);
      handler = current_;
    }
    if (handler) (*handler)(std::forward<Args>(args)...);
  }

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const Handler> current_;
};

}  // namespace transport
