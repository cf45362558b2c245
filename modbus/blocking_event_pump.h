#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "modbus/platform_services.h"

namespace modbus {

// An event pump without a windowing toolkit: events are functions posted from
// any thread, run on the thread that calls ProcessEvents. Waiting blocks on a
// condition variable, so an exchange waiting through it uses no CPU.
class BlockingEventPump : public EventPump {
 public:
  void Post(std::function<void()> event);
  void ProcessEvents(std::chrono::microseconds maxWait) override;

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> pending_;
};

}  // namespace modbus
