#include "transport/af_com_port_event_thread.h"

namespace transport {

TAfComPortEventThread::~TAfComPortEventThread() { stop(); }

void TAfComPortEventThread::wakeLoop() { core_.device_->wakeLineWait(); }

void TAfComPortEventThread::execute() {
  core_.outputDrained_.ResetEvent();
  core_.threadStarted_.Set();
  while (!terminated_) {
    // A drained signal that is already set must not wait for the next tick.
    const auto timeout =
        core_.outputDrained_.IsSet() ? std::chrono::milliseconds(0) : TAfComPortCore::kPollPeriod;
    const SerialDevice::LineWait wait = core_.device_->waitLineEvent(timeout);
    if (terminated_ || stopSignal_.IsSet()) break;
    if (wait.kind == SerialDevice::LineWait::Kind::kEvent) {
      if (wait.mask != 0) notify(TAfCoreEvent::ceCommEvent, wait.mask, wait.errors);
      continue;
    }
    if (core_.outputDrained_.TryTake()) {
      notify(TAfCoreEvent::ceOutputEmpty, 0);
      continue;
    }
    if (wait.kind == SerialDevice::LineWait::Kind::kTimeout && timeout.count() > 0) {
      // Input that came without a line event is still reported.
      const TAfComPortCore::ComStat status = core_.queueStatus();
      if (status.inQue > 0) {
        notify(TAfCoreEvent::ceDataWaiting, static_cast<uint32_t>(status.inQue));
      }
    }
  }
}

void TAfComPortEventThread::notify(TAfCoreEvent kind, uint32_t data, uint32_t lineErrors) {
  try {
    if (sinkAttached_ && sink_) sink_(core_, kind, data, lineErrors, nullptr);
  } catch (...) {
    reportException(std::current_exception());
  }
}

void TAfComPortEventThread::reportException(std::exception_ptr error) {
  if (sinkAttached_ && sink_) {
    try {
      sink_(core_, TAfCoreEvent::ceThreadError, 0, 0, error);
      return;
    } catch (...) {
      error = std::current_exception();
    }
  }
  TAfComPortCoreThread::reportException(error);
}

}  // namespace transport
