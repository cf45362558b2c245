#pragma once

#include <atomic>
#include <exception>
#include <thread>

#include "transport/event.h"

namespace transport {

class TAfComPortCore;

// A worker of the port core: a stop signal and the loop of a subclass.
// start() runs the loop; stop() ends and joins it.
class TAfComPortCoreThread {
 public:
  explicit TAfComPortCoreThread(TAfComPortCore& core) : core_(core) {}
  virtual ~TAfComPortCoreThread();
  TAfComPortCoreThread(const TAfComPortCoreThread&) = delete;
  TAfComPortCoreThread& operator=(const TAfComPortCoreThread&) = delete;

  void start();
  virtual void stop();
  int64_t platformThreadId() const { return platformThreadId_; }

 protected:
  // Shows the exception on the main thread through the application's
  // exception display.
  virtual void reportException(std::exception_ptr error);
  virtual void execute() = 0;
  // Interrupts whatever the loop blocks on besides the stop signal.
  virtual void wakeLoop() {}

  TAfComPortCore& core_;
  Event stopSignal_{Event::Reset::kManual};
  std::atomic<bool> terminated_{false};

 private:
  void run();

  std::thread thread_;
  std::atomic<int64_t> platformThreadId_{0};
};

}  // namespace transport
