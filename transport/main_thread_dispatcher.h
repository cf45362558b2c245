#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace transport {

// Carries calls from worker threads to the main thread, which runs them only
// while it pumps (runPending). Process-wide, like the hidden window it stands
// for.
class MainThreadDispatcher {
 public:
  class Request;
  using RequestPtr = std::shared_ptr<Request>;

  static MainThreadDispatcher& instance();

  // Any thread: queue fn for the main thread and wait for it at most
  // `timeout`; false when it did not run in time (it will then not run).
  bool call(std::function<void()> fn, std::chrono::milliseconds timeout);

  // The parts of call, for callers that must be able to cancel a wait from
  // elsewhere (a hand-over whose slot is disabled while it waits).
  RequestPtr post(std::function<void()> fn);
  // True when the request ran to its end; false on timeout or cancel.
  bool wait(const RequestPtr& request, std::chrono::milliseconds timeout);
  // A queued request will not run; a waiter returns at once. A request that
  // is already running finishes, but nobody waits for it any more.
  void cancel(const RequestPtr& request);

  // Main thread (while it pumps): run everything queued.
  void runPending();
  // Installed by the UI: called from the posting thread whenever something
  // is queued (the Qt adapter posts a QEvent).
  void setWakeUp(std::function<void()> wake);
  // For pumps without a toolkit: block until something is queued or
  // `timeout` passes; true when something is queued.
  bool waitForPending(std::chrono::microseconds timeout);

 private:
  MainThreadDispatcher() = default;

  std::mutex mutex_;
  std::condition_variable queued_;
  std::condition_variable finished_;
  std::deque<RequestPtr> queue_;
  std::function<void()> wake_;
};

}  // namespace transport
