#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "modbus/port_failure.h"
#include "transport/com_port_types.h"
#include "transport/dcb.h"

namespace transport {

// What the port core needs of the operating system's serial device. One
// backend per platform. The core serialises the calls as it documents;
// wakeLineWait and wakeWriter may be called from any thread.
class SerialDevice {
 public:
  // How an open ended, as the system reported it where the call failed.
  struct OpenResult {
    modbus::PortFailureKind kind = modbus::PortFailureKind::kNone;  // kNone: open
    int systemError = 0;  // errno or GetLastError(); 0 when there is none
    bool ok() const { return kind == modbus::PortFailureKind::kNone; }
  };

  struct QueueStatus {
    uint32_t errors = 0;  // CE_* bits since the previous query
    int32_t inQue = 0;
    int32_t outQue = 0;
  };

  struct LineWait {
    enum class Kind { kEvent, kWoken, kTimeout };
    Kind kind = Kind::kTimeout;
    uint32_t mask = 0;  // EV_* bits for kEvent
    // With EV_ERR: the CE_* bits of the errors this event reports, found in
    // the same look at the line, so that each report carries its own.
    uint32_t errors = 0;
  };

  enum class WriteStatus { kDone, kInterrupted, kFailed };

  virtual ~SerialDevice() = default;

  // Exclusive open; the device is not configured yet. The result tells a
  // missing device, a refused permission, a device another program holds and
  // one that is no serial device apart.
  virtual OpenResult open(const std::string& path) = 0;
  // From a good open to close(), also after the device went away.
  virtual bool isOpen() const = 0;
  virtual void close() = 0;
  // The system's code of the last call on the device that failed (0 when
  // unknown), for a configuring step that was refused.
  virtual int lastError() const { return 0; }
  // The open device disappeared (hang-up, adapter removed). Its handle is
  // released as soon as that is seen, so that nothing of the device stays
  // held; every later call on it fails without touching the system, and the
  // line wait only waits. Until the next open.
  virtual bool wentAway() const { return false; }
  // What the system reported then; 0 for a hang-up, which carries no code.
  virtual int wentAwayError() const { return 0; }

  // Reads return at once with what is waiting.
  virtual bool setTimeouts() = 0;
  virtual bool setupQueues(int32_t inSize, int32_t outSize) = 0;
  virtual bool setEventMask(uint32_t mask) = 0;
  virtual bool setLineParameters(const DCB& dcb) = 0;
  virtual bool getLineParameters(DCB& dcb) = 0;
  // Puts back the line settings (and DTR and RTS) the device had when it was
  // opened: an open that is refused after configuring it must not leave it
  // at the speed that was tried.
  virtual void restoreFoundSettings() = 0;
  virtual bool purge(uint32_t actions) = 0;
  virtual bool queueStatus(QueueStatus& status) = 0;
  virtual int32_t read(char* buffer, int32_t count) = 0;  // -1 on failure
  virtual bool escapeFunction(EscapeFunction function) = 0;

  // Waits for a line event of the event mask, a wake-up, or the timeout.
  virtual LineWait waitLineEvent(std::chrono::milliseconds timeout) = 0;
  virtual void wakeLineWait() = 0;

  // Writes all of count bytes; a write the device cannot take at once waits
  // until it can, or until wakeWriter interrupts it (then kInterrupted, the
  // rest unwritten).
  virtual WriteStatus write(const char* data, int32_t count, int32_t& written) = 0;
  virtual void wakeWriter() = 0;
  // Hands the device what it takes at once, without waiting: the count
  // taken, 0 when it takes nothing now, -1 on failure.
  virtual int32_t writeNow(const char* data, int32_t count) = 0;
};

std::unique_ptr<SerialDevice> createPlatformSerialDevice();

}  // namespace transport
