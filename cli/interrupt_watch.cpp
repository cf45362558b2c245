#include "cli/interrupt_watch.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <iterator>

namespace cli {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");
// Written by the handler so that a wait wakes at once.
int wakeRead = -1;
int wakeWrite = -1;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[std::size(kSignals)]{};

}  // namespace

// The first signal decides the exit code; a second one changes nothing.
void NoteSignal(int signal) {
  if (interrupted.exchange(true)) return;
  constexpr int kSignalExitBase = 128;
  InterruptWatch::caughtExitCode_.store(kSignalExitBase + signal);
}

namespace {

void onInterrupt(int signal) {
  NoteSignal(signal);
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(wakeWrite, &byte, 1);
}

}  // namespace

InterruptWatch::InterruptWatch() {
  interrupted.store(false);
  caughtExitCode_.store(static_cast<int>(ExitCode::kInterrupted));
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
    wakeRead = fds[0];
    wakeWrite = fds[1];
  }
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  // Restarted: output written while the signal arrives must not be lost.
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &action, &previous[i]);
}

InterruptWatch::~InterruptWatch() {
  for (size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &previous[i], nullptr);
  ::close(wakeRead);
  ::close(wakeWrite);
  wakeRead = wakeWrite = -1;
}

bool InterruptWatch::requested() { return interrupted.load(); }

bool InterruptWatch::waitFor(std::chrono::milliseconds duration) const {
  const auto deadline = std::chrono::steady_clock::now() + duration;
  while (!requested()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{wakeRead, POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(left.count()));
  }
  return true;
}

}  // namespace cli
