#include "transport/af_custom_serial_port.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "transport/port_errors.h"
#include "transport/safe_sync.h"

namespace transport {
namespace {

constexpr uint32_t kHandOverLimitMs = 2000;

// Clears a flag on every way out of a scope.
class FlagGuard {
 public:
  explicit FlagGuard(std::atomic<bool>& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  std::atomic<bool>& flag_;
};

}  // namespace

TAfCustomSerialPort::TAfCustomSerialPort(std::string name, std::unique_ptr<SerialDevice> device)
    : TAfDataDispConnComponent(std::move(name)),
      core_(std::make_unique<TAfComPortCore>(std::move(device))) {
  syncId_ = SafeSyncRegister([this] { NotificationDispatch(); });
  core_->setNotificationSink([this](TAfComPortCore&, TAfCoreEvent kind, uint32_t data,
                                    uint32_t lineErrors, std::exception_ptr error) {
    CoreNotification(kind, data, lineErrors, std::move(error));
  });
  // Asked at every drained queue, so that a handler assigned while open
  // counts from then on.
  core_->setOutputEmptyWanted(
      [this] { return OnNonSyncEvent || HasListenerFor(TAfCoreEvent::ceOutputEmpty, 0); });
  UpdateDCB();
}

// The core's threads call back into this component, and through it into the
// core, until they are joined: they end while both are still whole. The
// core's own destruction (a member) then finds it closed.
TAfCustomSerialPort::~TAfCustomSerialPort() {
  destroying_ = true;
  SafeSyncUnregister(syncId_);
  core_->close();
}

void TAfCustomSerialPort::PortError(const std::string& text) {
  throw EAfComPortError(text + " - " + Name() + " ");
}

void TAfCustomSerialPort::SetDevicePathResolver(DevicePathResolver resolver) {
  core_->setDevicePathResolver(std::move(resolver));
}

void TAfCustomSerialPort::Loaded() {
  if (autoOpen_) {
    Open();
  } else {
    UpdateDCB();
  }
}

void TAfCustomSerialPort::UpdateDCB() {
  dcb_ = BuildLineParameterBlock(settings_);
  if (!IsOpen()) return;
  try {
    core_->setLineParameters(dcb_);
  } catch (...) {
    dcb_ = core_->lineParameters();
    throw;
  }
}

void TAfCustomSerialPort::UpdateXonXoffLimits() {
  if (settings_.flowControl == TAfFlowControl::fwNone) {
    settings_.xonLim = 0;
    settings_.xoffLim = 0;
  } else {
    settings_.xonLim = static_cast<uint16_t>(inBufSize_ / 4);
    settings_.xoffLim = static_cast<uint16_t>(inBufSize_ - settings_.xonLim);
  }
}

void TAfCustomSerialPort::SetBaudRate(TAfBaudrate value) {
  if (value == settings_.baudRate) return;
  settings_.baudRate = value;
  if (value != TAfBaudrate::brUser) settings_.userBaudRate = 0;
  UpdateDCB();
}

void TAfCustomSerialPort::SetUserBaudRate(int32_t value) {
  if (value == settings_.userBaudRate) return;
  settings_.userBaudRate = value;
  settings_.baudRate = TAfBaudrate::brUser;
  UpdateDCB();
}

void TAfCustomSerialPort::SetDatabits(TAfDatabits value) {
  if (value == settings_.databits) return;
  settings_.databits = value;
  UpdateDCB();
}

// The line follows at once; the block keeps its DTR bit until the next rebuild.
void TAfCustomSerialPort::SetDTR(bool value) {
  if (value == settings_.dtr) return;
  if (IsOpen()) core_->lineControl(value ? EscapeFunction::SETDTR : EscapeFunction::CLRDTR);
  settings_.dtr = value;
}

void TAfCustomSerialPort::SetRTS(bool value) {
  if (value == settings_.rts) return;
  if (IsOpen()) core_->lineControl(value ? EscapeFunction::SETRTS : EscapeFunction::CLRRTS);
  settings_.rts = value;
}

void TAfCustomSerialPort::SetFlowControl(TAfFlowControl value) {
  if (value == settings_.flowControl) return;
  settings_.flowControl = value;
  UpdateXonXoffLimits();
  UpdateDCB();
}

void TAfCustomSerialPort::SetInBufSize(int32_t value) {
  if (value == inBufSize_) return;
  if (IsOpen()) PortError("Port is not closed");
  inBufSize_ = value;
  UpdateXonXoffLimits();
}

void TAfCustomSerialPort::SetOutBufSize(int32_t value) {
  if (value == outBufSize_) return;
  if (IsOpen()) PortError("Port is not closed");
  outBufSize_ = value;
}

void TAfCustomSerialPort::SetOptions(TAfComOptions value) {
  if (value == settings_.options) return;
  settings_.options = value;
  UpdateDCB();
}

void TAfCustomSerialPort::SetParity(TAfParity value) {
  if (value == settings_.parity) return;
  settings_.parity = value;
  UpdateDCB();
}

void TAfCustomSerialPort::SetStopbits(TAfStopbits value) {
  if (value == settings_.stopbits) return;
  settings_.stopbits = value;
  UpdateDCB();
}

void TAfCustomSerialPort::SetXOnChar(char value) {
  if (value == settings_.xonChar) return;
  settings_.xonChar = value;
  UpdateDCB();
}

void TAfCustomSerialPort::SetXOffChar(char value) {
  if (value == settings_.xoffChar) return;
  settings_.xoffChar = value;
  UpdateDCB();
}

void TAfCustomSerialPort::SetXOnLim(uint16_t value) {
  if (value == settings_.xonLim) return;
  settings_.xonLim = value;
  settings_.xoffLim = static_cast<uint16_t>(inBufSize_ - value);
}

void TAfCustomSerialPort::SetXOffLim(uint16_t value) {
  if (value == settings_.xoffLim) return;
  settings_.xoffLim = value;
  settings_.xonLim = static_cast<uint16_t>(inBufSize_ - value);
}

bool TAfCustomSerialPort::IsOpen() const { return core_->isOpened(); }

void TAfCustomSerialPort::Open() {
  if (IsOpen()) return;
  SafeSyncEnable(syncId_, true);
  core_->setLineParameters(dcb_);
  core_->setInputQueueSize(inBufSize_);
  core_->setOutputQueueSize(outBufSize_);
  core_->setEventThreadPriority(eventThreadPriority_);
  core_->setWriteThreadPriority(writeThreadPriority_);
  closing_ = false;
  // A refused open keeps the block built from the properties: the next open
  // must try the same settings and fail the same way, not run on whatever
  // the device was left with.
  OpenDevice();
  OnPortOpen(*this);
}

void TAfCustomSerialPort::Close() {
  FlagGuard closing(closing_);
  // Disabled first: a notification already on its way is not delivered, and
  // the event thread's wait for the main thread ends at once.
  SafeSyncEnable(syncId_, false);
  core_->close();
  OnPortClose(*this);
}

void TAfCustomSerialPort::WriteData(const void* buffer, int32_t count) {
  if (closing_) return;
  if (!core_->write(static_cast<const char*>(buffer), count)) {
    FailIfWentAway();
    char text[96];
    std::snprintf(text, sizeof text, "Write data error [requested: %d, free: %d]", count,
                  OutBufFree());
    PortError(text);
  }
}

void TAfCustomSerialPort::WriteString(const std::string& text) {
  if (text.empty()) return;
  WriteData(text.data(), static_cast<int32_t>(text.size()));
}

// A device that went away is a failure of the port, not an empty queue: an
// exchange waiting for its reply ends with a port error at once.
int32_t TAfCustomSerialPort::InBufUsed() {
  const int32_t count = WaitingCount();  // may be what finds it gone
  FailIfWentAway();
  return count;
}

int32_t TAfCustomSerialPort::WaitingCount() {
  if (!core_->isActive()) return 0;
  return core_->queueStatus().inQue;
}

void TAfCustomSerialPort::FailIfWentAway() {
  if (core_->wentAway()) PortError("Port went away");
}

// Only the bytes actually read are returned: a short read must not pad the
// text with bytes that never came from the line.
std::string TAfCustomSerialPort::ReadString() {
  if (closing_) return {};
  const int32_t waiting = InBufUsed();
  if (waiting <= 0) return {};
  std::string text(static_cast<size_t>(waiting), '\0');
  const int32_t got = core_->read(text.data(), waiting);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

// A closed port fails every read, also one of no bytes.
void TAfCustomSerialPort::ReadData(void* buffer, int32_t count) {
  if (closing_) return;
  const int32_t got = core_->read(static_cast<char*>(buffer), std::max<int32_t>(count, 0));
  if (got < 0 || got < count) PortError("Read data error");
}

int32_t TAfCustomSerialPort::OutBufFree() { return core_->freeTransmitSpace(); }

// Event thread.
void TAfCustomSerialPort::CoreNotification(TAfCoreEvent kind, uint32_t data, uint32_t lineErrors,
                                           std::exception_ptr error) {
  if (closing_ || destroying_) return;
  if (kind != TAfCoreEvent::ceThreadError && OnNonSyncEvent) {
    OnNonSyncEvent(*this, kind, data);
    return;
  }
  // Nobody to tell: the dispatch would raise nothing, so the main thread is
  // not woken for it. The event's error bits go with it.
  if (!HasListenerFor(kind, data)) return;
  {
    std::lock_guard lock(pendingLock_);
    pending_ = {kind, data, lineErrors, std::move(error)};
  }
  // A failed hand-over (slot disabled or gone) is dropped silently.
  SafeSyncCall(syncId_, kHandOverLimitMs);
}

// Any thread: handlers may change while the port is open.
bool TAfCustomSerialPort::HasListenerFor(TAfCoreEvent kind, uint32_t data) const {
  if (OnSyncEvent) return true;
  switch (kind) {
    case TAfCoreEvent::ceOutputEmpty:
      return static_cast<bool>(OnOutBufFree);
    case TAfCoreEvent::ceDataWaiting:
      return static_cast<bool>(OnDataRecived);
    case TAfCoreEvent::ceCommEvent:
      return ((data & EV_RXCHAR) && OnDataRecived) || ((data & EV_ERR) && OnLineError) ||
             ((data & EV_CTS) && OnCTSChanged) || ((data & EV_DSR) && OnDSRChanged) ||
             ((data & EV_RING) && OnRINGDetected) || ((data & EV_RLSD) && OnRLSDChanged);
    case TAfCoreEvent::ceThreadError:
      return true;
  }
  return true;
}

// Main thread, inside the hand-over.
void TAfCustomSerialPort::NotificationDispatch() {
  if (closing_ || destroying_) return;
  PendingNotification note;
  {
    std::lock_guard lock(pendingLock_);
    note = pending_;
  }
  OnSyncEvent(*this, note.kind, note.data);
  switch (note.kind) {
    case TAfCoreEvent::ceOutputEmpty:
      OnOutBufFree(*this);
      break;
    case TAfCoreEvent::ceCommEvent: {
      const uint32_t mask = note.data;
      // Counted without raising: the device may have gone since the event.
      if ((mask & EV_RXCHAR) && OnDataRecived) OnDataRecived(*this, WaitingCount());
      // The bits found with this event: gathered by status queries instead
      // (every read asks one), a read would take them before this report,
      // or an error would wait for the next one.
      if (mask & EV_ERR) OnLineError(*this, note.lineErrors);
      if (mask & EV_CTS) OnCTSChanged(*this);
      if (mask & EV_DSR) OnDSRChanged(*this);
      if (mask & EV_RING) OnRINGDetected(*this);
      if (mask & EV_RLSD) OnRLSDChanged(*this);
      break;
    }
    case TAfCoreEvent::ceDataWaiting:
      OnDataRecived(*this, static_cast<int32_t>(note.data));
      break;
    case TAfCoreEvent::ceThreadError:
      if (note.error) std::rethrow_exception(note.error);
      break;
  }
}

}  // namespace transport
