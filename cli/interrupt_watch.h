#pragma once

#include <atomic>
#include <chrono>

#include "cli/exit_code.h"

namespace cli {

// Ctrl+C as the window's "Отменить": it only raises a flag that the running
// operation looks at between its requests, so the request under way
// finishes and its result is kept. SIGTERM and SIGHUP (a service manager, a
// closed terminal) are taken the same way where the platform has them.
// Installed for the life of the object (one at a time); the previous
// handling comes back afterwards.
class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  static bool requested();
  // How a run ended by it exits: 130 for Ctrl+C, 128 + the signal's number
  // for another signal noted by the platform's handler.
  static ExitCode exitCode() { return static_cast<ExitCode>(caughtExitCode_.load()); }

  // Waits for `duration` or until Ctrl+C, whichever comes first; true on Ctrl+C.
  bool waitFor(std::chrono::milliseconds duration) const;

 private:
  static inline std::atomic<int> caughtExitCode_{static_cast<int>(ExitCode::kInterrupted)};
  friend void NoteSignal(int);
};

}  // namespace cli
