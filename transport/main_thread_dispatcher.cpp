#include "transport/main_thread_dispatcher.h"

#include <utility>

namespace transport {

class MainThreadDispatcher::Request {
 public:
  enum class State { kQueued, kRunning, kDone, kCancelled };
  explicit Request(std::function<void()> f) : fn(std::move(f)) {}
  std::function<void()> fn;
  State state = State::kQueued;
  bool abandoned = false;  // the waiter gave up or was cancelled
};

MainThreadDispatcher& MainThreadDispatcher::instance() {
  static MainThreadDispatcher dispatcher;
  return dispatcher;
}

MainThreadDispatcher::RequestPtr MainThreadDispatcher::post(std::function<void()> fn) {
  auto request = std::make_shared<Request>(std::move(fn));
  std::function<void()> wake;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(request);
    wake = wake_;
  }
  queued_.notify_all();
  if (wake) wake();
  return request;
}

bool MainThreadDispatcher::wait(const RequestPtr& request, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  finished_.wait_for(lock, timeout, [&request] {
    return request->state == Request::State::kDone || request->abandoned;
  });
  if (request->state == Request::State::kDone) return true;
  // Timed out or cancelled: a request still queued is dropped.
  request->abandoned = true;
  if (request->state == Request::State::kQueued) request->state = Request::State::kCancelled;
  return false;
}

void MainThreadDispatcher::cancel(const RequestPtr& request) {
  {
    std::lock_guard lock(mutex_);
    request->abandoned = true;
    if (request->state == Request::State::kQueued) request->state = Request::State::kCancelled;
  }
  finished_.notify_all();
}

bool MainThreadDispatcher::call(std::function<void()> fn, std::chrono::milliseconds timeout) {
  return wait(post(std::move(fn)), timeout);
}

void MainThreadDispatcher::runPending() {
  for (;;) {
    RequestPtr request;
    {
      std::lock_guard lock(mutex_);
      while (!queue_.empty() && !request) {
        request = std::move(queue_.front());
        queue_.pop_front();
        if (request->state != Request::State::kQueued) request.reset();
      }
      if (!request) return;
      request->state = Request::State::kRunning;
    }
    // A throwing request must not leave its waiter hanging nor stop the pump;
    // the caller of fn decides how to report, so fn is expected not to throw.
    try {
      request->fn();
    } catch (...) {
    }
    {
      std::lock_guard lock(mutex_);
      request->state = Request::State::kDone;
      request->fn = nullptr;
    }
    finished_.notify_all();
  }
}

void MainThreadDispatcher::setWakeUp(std::function<void()> wake) {
  std::lock_guard lock(mutex_);
  wake_ = std::move(wake);
}

bool MainThreadDispatcher::waitForPending(std::chrono::microseconds timeout) {
  std::unique_lock lock(mutex_);
  auto hasQueued = [this] {
    for (const RequestPtr& r : queue_) {
      if (r->state == Request::State::kQueued) return true;
    }
    return false;
  };
  return queued_.wait_for(lock, timeout, hasQueued);
}

}  // namespace transport
