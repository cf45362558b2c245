#include "cli/interrupt_watch.h"

#include <windows.h>

#include <atomic>

namespace cli {

namespace {

std::atomic<bool> interrupted{false};
// Set by the handler so that a wait wakes at once.
HANDLE wake = nullptr;

// The console calls this on a thread of its own; Ctrl+Break counts as Ctrl+C.
// Any other event (closing the console, logging off) is left to the default
// handling, which ends the process.
BOOL WINAPI onControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  interrupted.store(true);
  if (wake) ::SetEvent(wake);
  return TRUE;
}

}  // namespace

InterruptWatch::InterruptWatch() {
  interrupted.store(false);
  wake = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ::SetConsoleCtrlHandler(onControl, TRUE);
}

InterruptWatch::~InterruptWatch() {
  ::SetConsoleCtrlHandler(onControl, FALSE);
  if (wake) ::CloseHandle(wake);
  wake = nullptr;
}

bool InterruptWatch::requested() { return interrupted.load(); }

bool InterruptWatch::waitFor(std::chrono::milliseconds duration) const {
  const auto deadline = std::chrono::steady_clock::now() + duration;
  while (!requested()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    ::WaitForSingleObject(wake, static_cast<DWORD>(left.count()));
  }
  return true;
}

}  // namespace cli
