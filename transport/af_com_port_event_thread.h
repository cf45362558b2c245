#pragma once

#include <atomic>
#include <cstdint>

#include "transport/af_com_port_core.h"
#include "transport/af_com_port_core_thread.h"

namespace transport {

// Waits for line events, the output-drained signal and the 200 ms tick, and
// hands each to the core's notification sink.
class TAfComPortEventThread : public TAfComPortCoreThread {
 public:
  TAfComPortEventThread(TAfComPortCore& core, TAfComPortCore::NotificationSink sink)
      : TAfComPortCoreThread(core), sink_(std::move(sink)) {}
  ~TAfComPortEventThread() override;

  // From now on nothing reaches the sink.
  void detachSink() { sinkAttached_ = false; }

 protected:
  void execute() override;
  void reportException(std::exception_ptr error) override;
  void wakeLoop() override;

 private:
  void notify(TAfCoreEvent kind, uint32_t data, uint32_t lineErrors = 0);

  const TAfComPortCore::NotificationSink sink_;
  std::atomic<bool> sinkAttached_{true};
};

}  // namespace transport
