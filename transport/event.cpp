#include "transport/event.h"

#include <algorithm>

namespace transport {

// A waiter registered with several events; any Set wakes it.
class EventWaiter {
 public:
  std::mutex mutex;
  std::condition_variable cv;
  bool poked = false;
  void Poke() {
    std::lock_guard lock(mutex);
    poked = true;
    cv.notify_one();
  }
};

Event::Event(Reset mode, bool initiallySet) : mode_(mode), set_(initiallySet) {}

void Event::Set() {
  std::lock_guard lock(mutex_);
  set_ = true;
  if (mode_ == Reset::kManual) {
    changed_.notify_all();
  } else {
    changed_.notify_one();
  }
  // Poked under the event's lock: a waiter detaches under it before it goes
  // away, so the pointer stays valid here.
  for (EventWaiter* w : waiters_) w->Poke();
}

void Event::ResetEvent() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

bool Event::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

bool Event::takeLocked() {
  if (!set_) return false;
  if (mode_ == Reset::kAuto) set_ = false;
  return true;
}

bool Event::TryTake() {
  std::lock_guard lock(mutex_);
  return takeLocked();
}

bool Event::Wait(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, timeout, [this] { return set_; })) return false;
  return takeLocked();
}

void Event::WaitForever() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return set_; });
  takeLocked();
}

void Event::attach(EventWaiter* waiter) {
  std::lock_guard lock(mutex_);
  waiters_.push_back(waiter);
}

void Event::detach(EventWaiter* waiter) {
  std::lock_guard lock(mutex_);
  waiters_.erase(std::remove(waiters_.begin(), waiters_.end(), waiter), waiters_.end());
}

namespace {

int takeFirst(std::initializer_list<Event*> events) {
  int i = 0;
  for (Event* e : events) {
    if (e->TryTake()) return i;
    ++i;
  }
  return kWaitTimeout;
}

}  // namespace

int WaitAny(std::initializer_list<Event*> events, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int result = takeFirst(events);
  if (result != kWaitTimeout) return result;
  EventWaiter waiter;
  for (Event* e : events) e->attach(&waiter);
  for (;;) {
    result = takeFirst(events);
    if (result != kWaitTimeout) break;
    std::unique_lock lock(waiter.mutex);
    // A Set between takeFirst and here has poked the waiter already.
    if (!waiter.cv.wait_until(lock, deadline, [&waiter] { return waiter.poked; })) break;
    waiter.poked = false;
  }
  for (Event* e : events) e->detach(&waiter);
  if (result == kWaitTimeout) result = takeFirst(events);
  return result;
}

int WaitAnyForever(std::initializer_list<Event*> events) {
  for (;;) {
    const int r = WaitAny(events, std::chrono::hours(24));
    if (r != kWaitTimeout) return r;
  }
}

}  // namespace transport
