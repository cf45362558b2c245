#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "modbus/port_failure.h"
#include "transport/com_port_types.h"
#include "transport/dcb.h"
#include "transport/event.h"
#include "transport/serial_device.h"

namespace transport {

class TAfComPortEventThread;
class TAfComPortWriteThread;

// Resolves COMn to the device path; the default is the platform's COMn
// device (/dev/ttyS(n-1), \\.\COMn), defined by the backend.
using DevicePathResolver = std::function<std::string(int comNumber)>;
std::string DefaultDevicePath(int comNumber);

// Holds the device, the transmit queue with its write thread and the event
// thread. Everything but the notification sink runs on the main thread.
class TAfComPortCore {
 public:
  // Called on the event thread. For a ceCommEvent with EV_ERR `lineErrors`
  // holds the CE_* bits of the errors that event reports (0 otherwise); for
  // ceThreadError `error` holds the exception raised there, otherwise it is
  // empty.
  using NotificationSink =
      std::function<void(TAfComPortCore& core, TAfCoreEvent kind, uint32_t data,
                         uint32_t lineErrors, std::exception_ptr error)>;

  struct ComStat {
    uint32_t errors = 0;
    int32_t inQue = 0;
    int32_t outQue = 0;
  };

  static constexpr std::chrono::milliseconds kThreadStartLimit{3000};
  static constexpr std::chrono::milliseconds kFlushLimit{2000};
  static constexpr std::chrono::milliseconds kPollPeriod{200};

  explicit TAfComPortCore(std::unique_ptr<SerialDevice> device = createPlatformSerialDevice());
  ~TAfComPortCore();
  TAfComPortCore(const TAfComPortCore&) = delete;
  TAfComPortCore& operator=(const TAfComPortCore&) = delete;

  // false when already opened; raises EAfComPortCoreError on failure.
  bool open(int portNumber);
  void close();
  bool write(const char* data, int32_t count);
  int32_t read(char* buffer, int32_t count);  // -1 when not active
  ComStat queueStatus();
  uint32_t takeErrors();
  int32_t freeTransmitSpace();
  bool lineControl(EscapeFunction function);

  void setLineParameters(const DCB& block);
  const DCB& lineParameters() const { return dcb_; }
  void setEventThreadPriority(TThreadPriority priority);
  void setWriteThreadPriority(TThreadPriority priority);
  void setInputQueueSize(int32_t size) { inQueueSize_ = size; }
  void setOutputQueueSize(int32_t size) { outQueueSize_ = size; }
  void setNotificationSink(NotificationSink sink) { sink_ = std::move(sink); }
  // Asked whenever the transmit queue has drained, on the thread that drained
  // it: without a listener for ceOutputEmpty the event thread is not woken.
  // Set before the first open.
  void setOutputEmptyWanted(std::function<bool()> wanted) {
    outputEmptyWanted_ = std::move(wanted);
  }
  void setDevicePathResolver(DevicePathResolver resolver);

  bool isActive() const { return active_; }
  bool isOpened() const { return opened_; }
  // The open device disappeared; it stays opened, and failing, until close.
  bool wentAway() const { return opened_ && device_->wentAway(); }
  // Why the last open failed, or why the device failed since it opened
  // (kWentAway, also after the close that followed); kind kNone after a good
  // open. The device path is the one the last open resolved.
  modbus::PortFailure lastFailure() const;
  int portNumber() const { return portNumber_; }

 private:
  friend class TAfComPortEventThread;
  friend class TAfComPortWriteThread;

  void openingSteps();
  [[noreturn]] void failStep(modbus::PortFailureKind kind, const char* text);
  void closingSteps(bool restoreFoundSettings = false);
  void startThread(std::function<void()> create);
  bool flushWriteThread();
  void signalOutputDrained();

  std::unique_ptr<SerialDevice> device_;
  DevicePathResolver resolver_ = DefaultDevicePath;
  NotificationSink sink_;
  DCB dcb_{};
  std::atomic<bool> active_{false};
  std::function<bool()> outputEmptyWanted_;
  bool opened_ = false;
  int portNumber_ = 0;
  modbus::PortFailure failure_;
  uint32_t gatheredErrors_ = 0;  // under statusLock_
  int32_t inQueueSize_ = 4096;
  int32_t outQueueSize_ = 2048;
  TThreadPriority eventThreadPriority_ = TThreadPriority::tpNormal;
  TThreadPriority writeThreadPriority_ = TThreadPriority::tpHighest;

  std::mutex statusLock_;
  std::mutex writeLock_;
  Event threadStarted_{Event::Reset::kAuto};
  Event outputDrained_{Event::Reset::kAuto};
  std::unique_ptr<TAfComPortEventThread> eventThread_;
  std::unique_ptr<TAfComPortWriteThread> writeThread_;
};

}  // namespace transport
