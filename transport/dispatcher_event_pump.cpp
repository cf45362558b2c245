#include "transport/dispatcher_event_pump.h"

#include "transport/main_thread_dispatcher.h"

namespace transport {

void DispatcherEventPump::ProcessEvents(std::chrono::microseconds maxWait) {
  auto& dispatcher = MainThreadDispatcher::instance();
  if (!dispatcher.waitForPending(std::chrono::microseconds(0)) && maxWait.count() > 0) {
    dispatcher.waitForPending(maxWait);
  }
  dispatcher.runPending();
}

}  // namespace transport
