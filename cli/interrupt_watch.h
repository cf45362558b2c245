#pragma once

#include <chrono>

namespace cli {

// Ctrl+C as the window's "Отменить": it only raises a flag that the running
// operation looks at between its requests, so the request under way
// finishes and its result is kept. Installed for the life of the object
// (one at a time); the previous handling comes back afterwards.
class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  static bool requested();

  // Waits for `duration` or until Ctrl+C, whichever comes first; true on Ctrl+C.
  bool waitFor(std::chrono::milliseconds duration) const;
};

}  // namespace cli
