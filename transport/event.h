#pragma once

#include <chrono>
#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <vector>

namespace transport {

class EventWaiter;

// A signal a thread can wait on, alone or together with others (WaitAny).
// Auto-reset: a successful wait consumes it; manual-reset: it stays set until
// Reset.
class Event {
 public:
  enum class Reset { kAuto, kManual };
  explicit Event(Reset mode, bool initiallySet = false);
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void Set();
  void ResetEvent();
  bool IsSet() const;
  // Consumes the signal of an auto-reset event; true when it was set.
  bool TryTake();
  bool Wait(std::chrono::milliseconds timeout);
  void WaitForever();

 private:
  friend int WaitAny(std::initializer_list<Event*> events, std::chrono::milliseconds timeout);
  bool takeLocked();
  void attach(EventWaiter* waiter);
  void detach(EventWaiter* waiter);

  const Reset mode_;
  bool set_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<EventWaiter*> waiters_;
};

inline constexpr int kWaitTimeout = -1;

// Waits until one of the events is set and returns its position in the list,
// taking the first set one in list order (list order is priority order).
// kWaitTimeout when none was set in time.
int WaitAny(std::initializer_list<Event*> events, std::chrono::milliseconds timeout);
int WaitAnyForever(std::initializer_list<Event*> events);

}  // namespace transport
