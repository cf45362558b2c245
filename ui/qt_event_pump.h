#pragma once

#include <chrono>

#include "modbus/platform_services.h"

// The exchange's event pump on the Qt event loop. It blocks in the loop until
// an event arrives or the wait the exchange asked for has passed, so a waiting
// exchange keeps timers and clicks served without burning a core.
class QtEventPump final : public modbus::EventPump {
 public:
  void ProcessEvents(std::chrono::microseconds maxWait) override;
};
