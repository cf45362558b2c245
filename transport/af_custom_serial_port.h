#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "transport/af_com_port_core.h"
#include "transport/af_data_disp_conn_component.h"
#include "transport/com_port_types.h"
#include "transport/dcb.h"
#include "transport/event_handler.h"
#include "transport/line_parameter_block.h"

namespace transport {

class TAfCustomSerialPort;

using TNotifyEvent = std::function<void(TAfCustomSerialPort& sender)>;
using TAfCPTDataReceivedEvent = std::function<void(TAfCustomSerialPort& sender, int32_t count)>;
using TAfCPTErrorEvent = std::function<void(TAfCustomSerialPort& sender, uint32_t errors)>;
using TAfCPTCoreEvent =
    std::function<void(TAfCustomSerialPort& sender, TAfCoreEvent eventKind, uint32_t data)>;

// The serial port component: line parameters and buffer sizes as properties,
// the port core underneath, its notifications turned into events on the main
// thread. All operations and setters are called on the main thread; the
// event handlers may be assigned at any time, also while the port is open.
class TAfCustomSerialPort : public TAfDataDispConnComponent {
 public:
  ~TAfCustomSerialPort() override;

  // Events; all but OnNonSyncEvent are raised on the main thread.
  EventHandler<TNotifyEvent> OnCTSChanged;
  EventHandler<TAfCPTDataReceivedEvent> OnDataRecived;
  EventHandler<TNotifyEvent> OnDSRChanged;
  EventHandler<TAfCPTErrorEvent> OnLineError;
  EventHandler<TAfCPTCoreEvent> OnNonSyncEvent;
  EventHandler<TNotifyEvent> OnOutBufFree;
  EventHandler<TNotifyEvent> OnPortClose;
  EventHandler<TNotifyEvent> OnPortOpen;
  EventHandler<TNotifyEvent> OnRINGDetected;
  EventHandler<TNotifyEvent> OnRLSDChanged;
  EventHandler<TAfCPTCoreEvent> OnSyncEvent;

  void Close() override;
  void Open() override;
  bool IsOpen() const;
  void WriteData(const void* buffer, int32_t count) override;
  void WriteString(const std::string& text);
  // Raises "Port went away" once the open device has disappeared.
  int32_t InBufUsed();
  std::string ReadString();
  void ReadData(void* buffer, int32_t count);
  int32_t OutBufFree();
  // Read once after the component's properties are set up: opens when
  // AutoOpen is set, else builds the line parameter block.
  void Loaded();

  bool AutoOpen() const { return autoOpen_; }
  void SetAutoOpen(bool value) { autoOpen_ = value; }
  TAfBaudrate BaudRate() const { return settings_.baudRate; }
  void SetBaudRate(TAfBaudrate value);
  TAfDatabits Databits() const { return settings_.databits; }
  void SetDatabits(TAfDatabits value);
  bool DTR() const { return settings_.dtr; }
  void SetDTR(bool value);
  TThreadPriority EventThreadPriority() const { return eventThreadPriority_; }
  void SetEventThreadPriority(TThreadPriority value) { eventThreadPriority_ = value; }
  TAfFlowControl FlowControl() const { return settings_.flowControl; }
  void SetFlowControl(TAfFlowControl value);
  int32_t InBufSize() const { return inBufSize_; }
  void SetInBufSize(int32_t value);
  TAfComOptions Options() const { return settings_.options; }
  void SetOptions(TAfComOptions value);
  int32_t OutBufSize() const { return outBufSize_; }
  void SetOutBufSize(int32_t value);
  TAfParity Parity() const { return settings_.parity; }
  void SetParity(TAfParity value);
  bool RTS() const { return settings_.rts; }
  void SetRTS(bool value);
  TAfStopbits Stopbits() const { return settings_.stopbits; }
  void SetStopbits(TAfStopbits value);
  int32_t UserBaudRate() const { return settings_.userBaudRate; }
  void SetUserBaudRate(int32_t value);
  TThreadPriority WriteThreadPriority() const { return writeThreadPriority_; }
  void SetWriteThreadPriority(TThreadPriority value) { writeThreadPriority_ = value; }
  char XOnChar() const { return settings_.xonChar; }
  void SetXOnChar(char value);
  char XOffChar() const { return settings_.xoffChar; }
  void SetXOffChar(char value);
  uint16_t XOnLim() const { return settings_.xonLim; }
  void SetXOnLim(uint16_t value);
  uint16_t XOffLim() const { return settings_.xoffLim; }
  void SetXOffLim(uint16_t value);

  // The line parameter block as last built (or as read back from the device
  // after it refused one while open; a refused Open leaves it as built).
  const DCB& LineParameterBlock() const { return dcb_; }
  void SetDevicePathResolver(DevicePathResolver resolver);

 protected:
  TAfCustomSerialPort(std::string name, std::unique_ptr<SerialDevice> device);

  virtual void OpenDevice() = 0;
  [[noreturn]] virtual void PortError(const std::string& text);
  TAfComPortCore& Core() { return *core_; }
  const TAfComPortCore& Core() const { return *core_; }

 private:
  struct PendingNotification {
    TAfCoreEvent kind = TAfCoreEvent::ceOutputEmpty;
    uint32_t data = 0;
    uint32_t lineErrors = 0;
    std::exception_ptr error;
  };

  void UpdateDCB();
  void UpdateXonXoffLimits();
  int32_t WaitingCount();
  void FailIfWentAway();
  void CoreNotification(TAfCoreEvent kind, uint32_t data, uint32_t lineErrors,
                        std::exception_ptr error);
  void NotificationDispatch();
  bool HasListenerFor(TAfCoreEvent kind, uint32_t data) const;

  LineSettings settings_;
  DCB dcb_{};
  bool autoOpen_ = false;
  int32_t inBufSize_ = 4096;
  int32_t outBufSize_ = 2048;
  TThreadPriority eventThreadPriority_ = TThreadPriority::tpNormal;
  TThreadPriority writeThreadPriority_ = TThreadPriority::tpHighest;

  std::atomic<bool> closing_{false};
  std::atomic<bool> destroying_{false};
  uint32_t syncId_ = 0;
  std::mutex pendingLock_;
  PendingNotification pending_;
  std::unique_ptr<TAfComPortCore> core_;
};

}  // namespace transport
