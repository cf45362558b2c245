#include "transport/af_com_port_core.h"

#include <cstdio>
#include <system_error>

#include "transport/af_com_port_event_thread.h"
#include "transport/af_com_port_write_thread.h"
#include "transport/port_errors.h"
#include "transport/thread_priority.h"

namespace transport {
namespace {

std::string withNumber(const char* format, int number) {
  char text[64];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

[[noreturn]] void fail(std::string text) { throw EAfComPortCoreError(std::move(text)); }

}  // namespace

TAfComPortCore::TAfComPortCore(std::unique_ptr<SerialDevice> device) : device_(std::move(device)) {}

TAfComPortCore::~TAfComPortCore() { close(); }

void TAfComPortCore::setDevicePathResolver(DevicePathResolver resolver) {
  resolver_ = resolver ? std::move(resolver) : DevicePathResolver(DefaultDevicePath);
}

bool TAfComPortCore::open(int portNumber) {
  if (opened_) return false;
  failure_ = {modbus::PortFailureKind::kNone, 0, resolver_(portNumber)};
  if (portNumber <= 0) {
    failure_.kind = modbus::PortFailureKind::kNotFound;
    fail(withNumber("Invalid port number (COM%d)", portNumber));
  }
  portNumber_ = portNumber;
  const SerialDevice::OpenResult result = device_->open(failure_.devicePath);
  if (!result.ok()) {
    failure_.kind = result.kind;
    failure_.systemError = result.systemError;
    fail(withNumber(result.kind == modbus::PortFailureKind::kNotFound
                        ? "Invalid port number (COM%d)"
                        : "Can't open device COM%d",
                    portNumber));
  }
  try {
    openingSteps();
  } catch (...) {
    // A refused open leaves the device as it found it (a 4800 bit/s device
    // must not stay at the speed that was tried).
    closingSteps(true);
    throw;
  }
  opened_ = true;
  return true;
}

modbus::PortFailure TAfComPortCore::lastFailure() const {
  if (wentAway()) {
    return {modbus::PortFailureKind::kWentAway, device_->wentAwayError(), failure_.devicePath};
  }
  return failure_;
}

void TAfComPortCore::failStep(modbus::PortFailureKind kind, const char* text) {
  failure_.kind = kind;
  failure_.systemError = device_->lastError();
  fail(text);
}

void TAfComPortCore::startThread(std::function<void()> create) {
  try {
    create();
  } catch (const std::system_error& e) {
    failure_.kind = modbus::PortFailureKind::kOther;
    failure_.systemError = e.code().value();
    fail("Error creating threads");
  }
  if (!threadStarted_.Wait(kThreadStartLimit)) {
    failure_.kind = modbus::PortFailureKind::kOther;
    fail("Error creating threads");
  }
}

void TAfComPortCore::openingSteps() {
  using modbus::PortFailureKind;
  if (!device_->setTimeouts()) failStep(PortFailureKind::kOther, "Error setting timeouts");
  if (!device_->setupQueues(inQueueSize_, outQueueSize_)) {
    failStep(PortFailureKind::kOther, "Error initializing buffers");
  }
  if (!device_->setEventMask(kCoreEventMask)) {
    failStep(PortFailureKind::kOther, " Error setting EventMask");
  }
  if (!device_->setLineParameters(dcb_)) {
    const int error = device_->lastError();
    device_->getLineParameters(dcb_);
    failure_.kind = PortFailureKind::kSettingsRefused;
    failure_.systemError = error;
    fail("Error setting parameters from DCB");
  }
  // Closing does not empty the terminal's queues while another process holds
  // it: a late reply to an earlier exchange must not reach this one.
  device_->purge(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
  {
    std::lock_guard lock(statusLock_);
    gatheredErrors_ = 0;
  }
  threadStarted_.ResetEvent();
  startThread([this] {
    writeThread_ = std::make_unique<TAfComPortWriteThread>(*this, outQueueSize_);
    writeThread_->start();
  });
  applyThreadPriority(writeThread_->platformThreadId(), writeThreadPriority_);
  active_ = true;
  startThread([this] {
    eventThread_ = std::make_unique<TAfComPortEventThread>(*this, sink_);
    eventThread_->start();
  });
  applyThreadPriority(eventThread_->platformThreadId(), eventThreadPriority_);
}

void TAfComPortCore::close() {
  if (!opened_) return;
  closingSteps();
  opened_ = false;
}

// The threads are stopped before the status lock is taken: the event
// thread's tick takes that lock, so holding it while joining could deadlock.
void TAfComPortCore::closingSteps(bool restoreFoundSettings) {
  if (!device_->isOpen()) return;
  // Seen before the threads stop: what closing itself does to the device
  // must not count.
  if (wentAway()) failure_ = lastFailure();
  active_ = false;
  device_->purge(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
  if (writeThread_) {
    flushWriteThread();
    writeThread_->stop();
    writeThread_.reset();
  }
  if (eventThread_) {
    eventThread_->detachSink();
    device_->setEventMask(0);
    device_->purge(PURGE_RXABORT | PURGE_RXCLEAR);
    eventThread_->stop();
    eventThread_.reset();
  }
  std::lock_guard lock(statusLock_);
  if (restoreFoundSettings) device_->restoreFoundSettings();
  device_->close();
}

bool TAfComPortCore::flushWriteThread() {
  if (!writeThread_->requestFlush(kFlushLimit)) return false;
  std::lock_guard lock(writeLock_);
  writeThread_->dataQueued().ResetEvent();
  writeThread_->buffer().Clear();
  return device_->purge(PURGE_TXABORT | PURGE_TXCLEAR);
}

void TAfComPortCore::signalOutputDrained() {
  if (outputEmptyWanted_ && !outputEmptyWanted_()) return;
  outputDrained_.Set();
  device_->wakeLineWait();
}

bool TAfComPortCore::write(const char* data, int32_t count) {
  if (!active_ || device_->wentAway()) return false;
  std::lock_guard lock(writeLock_);
  TAfCircularBuffer& queue = writeThread_->buffer();
  if (count < 1 || queue.BufFree() < count) return false;
  // An empty queue means the write thread is not writing (a run leaves the
  // queue only after it went out), so the bytes may go to the device at
  // once, in order; only what it does not take now is left to the thread.
  if (queue.BufUsed() == 0) {
    const int32_t taken = device_->writeNow(data, count);
    if (taken < 0) return false;
    if (taken == count) {
      signalOutputDrained();
      return true;
    }
    if (taken > 0) {
      data += taken;
      count -= taken;
    }
  }
  queue.Write(data, count);
  writeThread_->dataQueued().Set();
  return true;
}

int32_t TAfComPortCore::read(char* buffer, int32_t count) {
  if (!active_) return -1;
  std::lock_guard lock(statusLock_);
  return device_->read(buffer, count);
}

TAfComPortCore::ComStat TAfComPortCore::queueStatus() {
  if (!active_) return {};
  std::lock_guard lock(statusLock_);
  SerialDevice::QueueStatus status;
  if (device_->queueStatus(status)) gatheredErrors_ |= status.errors;
  return {status.errors, status.inQue, status.outQue};
}

uint32_t TAfComPortCore::takeErrors() {
  if (!active_) return 0;
  std::lock_guard lock(statusLock_);
  const uint32_t errors = gatheredErrors_;
  gatheredErrors_ = 0;
  return errors;
}

int32_t TAfComPortCore::freeTransmitSpace() {
  if (!active_) return 0;
  std::lock_guard lock(writeLock_);
  return writeThread_->buffer().BufFree();
}

bool TAfComPortCore::lineControl(EscapeFunction function) {
  if (!active_) return false;
  return device_->escapeFunction(function);
}

void TAfComPortCore::setLineParameters(const DCB& block) {
  dcb_ = block;
  if (!active_) return;
  if (!device_->setLineParameters(dcb_)) {
    device_->getLineParameters(dcb_);
    fail("Error setting parameters from DCB");
  }
}

void TAfComPortCore::setEventThreadPriority(TThreadPriority priority) {
  eventThreadPriority_ = priority;
  if (active_ && eventThread_) applyThreadPriority(eventThread_->platformThreadId(), priority);
}

void TAfComPortCore::setWriteThreadPriority(TThreadPriority priority) {
  writeThreadPriority_ = priority;
  if (active_ && writeThread_) applyThreadPriority(writeThread_->platformThreadId(), priority);
}

}  // namespace transport
