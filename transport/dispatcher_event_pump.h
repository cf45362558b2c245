#pragma once

#include <chrono>

#include "modbus/platform_services.h"

namespace transport {

// Event pump for programs without a toolkit (tests, command-line tools): the
// only "window messages" are the main-thread dispatcher's requests.
class DispatcherEventPump : public modbus::EventPump {
 public:
  void ProcessEvents(std::chrono::microseconds maxWait) override;
};

}  // namespace transport
