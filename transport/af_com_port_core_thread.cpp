#include "transport/af_com_port_core_thread.h"

#include <chrono>

#include "transport/application_exception_handler.h"
#include "transport/main_thread_dispatcher.h"
#include "transport/thread_priority.h"

namespace transport {

TAfComPortCoreThread::~TAfComPortCoreThread() {
  if (thread_.joinable()) {
    terminated_ = true;
    stopSignal_.Set();
    thread_.join();
  }
}

void TAfComPortCoreThread::start() {
  thread_ = std::thread([this] { run(); });
}

void TAfComPortCoreThread::stop() {
  terminated_ = true;
  stopSignal_.Set();
  wakeLoop();
  if (thread_.joinable()) thread_.join();
}

void TAfComPortCoreThread::run() {
  platformThreadId_ = currentPlatformThreadId();
  try {
    execute();
  } catch (...) {
    reportException(std::current_exception());
  }
}

void TAfComPortCoreThread::reportException(std::exception_ptr error) {
  // Bounded: the main thread may itself be waiting for this thread to end.
  MainThreadDispatcher::instance().call([error] { showApplicationException(error); },
                                        std::chrono::milliseconds(2000));
}

}  // namespace transport
