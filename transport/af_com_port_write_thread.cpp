#include "transport/af_com_port_write_thread.h"

#include <mutex>

#include "transport/af_com_port_core.h"

namespace transport {

TAfComPortWriteThread::~TAfComPortWriteThread() { stop(); }

void TAfComPortWriteThread::wakeLoop() { core_.device_->wakeWriter(); }

bool TAfComPortWriteThread::requestFlush(std::chrono::milliseconds limit) {
  flushRequest_.Set();
  core_.device_->wakeWriter();
  return flushAck_.Wait(limit);
}

void TAfComPortWriteThread::execute() {
  core_.threadStarted_.Set();
  while (!terminated_) {
    const int signalled = WaitAnyForever({&stopSignal_, &flushRequest_, &dataQueued_});
    if (signalled == 0) break;
    if (signalled == 1) {
      flushAck_.Set();
      continue;
    }
    const char* run = nullptr;
    int32_t length = 0;
    {
      std::lock_guard lock(core_.writeLock_);
      // A wrapped queue goes out as two runs: up to the end, then from 0.
      length = buffer_.ContiguousUsed();
      run = buffer_.ReadPtr();
    }
    if (length == 0) continue;
    // The run is not touched by appends (they fill the free part) and is
    // removed only here, so it may be read without the lock.
    int32_t written = 0;
    switch (core_.device_->write(run, length, written)) {
      case SerialDevice::WriteStatus::kDone:
        writeDone(length, written);
        break;
      case SerialDevice::WriteStatus::kInterrupted:
        // A wake-up that was neither stop nor flush: send the run again.
        if (!stopSignal_.IsSet() && !flushRequest_.IsSet()) dataQueued_.Set();
        break;
      case SerialDevice::WriteStatus::kFailed:
        dropQueue();
        break;
    }
  }
}

// What the device refused does not go out later either: left queued, it
// would go out ahead of the next request, which then gets the reply to a
// stale one.
void TAfComPortWriteThread::dropQueue() {
  std::lock_guard lock(core_.writeLock_);
  buffer_.Clear();
  dataQueued_.ResetEvent();
}

void TAfComPortWriteThread::writeDone(int32_t run, int32_t written) {
  // A short write leaves the run queued for the next data-queued signal.
  if (written != run) return;
  bool drained = false;
  {
    std::lock_guard lock(core_.writeLock_);
    buffer_.Remove(run);
    if (buffer_.BufUsed() > 0) {
      dataQueued_.Set();
    } else {
      drained = true;
    }
  }
  if (drained) core_.signalOutputDrained();
}

}  // namespace transport
