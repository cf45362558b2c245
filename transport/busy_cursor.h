#pragma once

#include <functional>

namespace transport {

// The hourglass shown while a port opens. The UI installs a hook that sets or
// restores its cursor; the default does nothing.
void setBusyCursorHook(std::function<void(bool busy)> hook);

// Shows the busy cursor for its lifetime, restoring it on every way out.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace transport
