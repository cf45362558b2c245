#pragma once

#include "transport/win32/windows_api.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "transport/serial_device.h"
#include "transport/win32/unique_handle.h"

namespace transport::win32 {

// A COM device through the Win32 communications API with overlapped I/O:
// the line-event wait and the writes are overlapped operations that a wake
// event cuts short. The wake events live as long as the object, so waking
// is safe from any thread at any time. Besides the driver's own refusal of a
// second open, a named object claims the device: Wine opens a serial device
// as often as asked. A device that went away (an adapter pulled out) is let
// go at once: a handle kept to it makes every other program's open of the
// port fail with a denied access.
class Win32SerialDevice : public SerialDevice {
 public:
  Win32SerialDevice();
  ~Win32SerialDevice() override;
  Win32SerialDevice(const Win32SerialDevice&) = delete;
  Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

  OpenResult open(const std::string& path) override;
  bool isOpen() const override { return opened_; }
  void close() override;
  int lastError() const override { return static_cast<int>(lastError_.load()); }
  bool wentAway() const override { return gone_; }
  int wentAwayError() const override { return static_cast<int>(goneError_.load()); }

  bool setTimeouts() override;
  bool setupQueues(int32_t inSize, int32_t outSize) override;
  bool setEventMask(uint32_t mask) override;
  bool setLineParameters(const DCB& dcb) override;
  bool getLineParameters(DCB& dcb) override;
  void restoreFoundSettings() override;
  bool purge(uint32_t actions) override;
  bool queueStatus(QueueStatus& status) override;
  int32_t read(char* buffer, int32_t count) override;
  bool escapeFunction(EscapeFunction function) override;

  LineWait waitLineEvent(std::chrono::milliseconds timeout) override;
  void wakeLineWait() override;

  WriteStatus write(const char* data, int32_t count, int32_t& written) override;
  void wakeWriter() override;
  int32_t writeNow(const char* data, int32_t count) override;

  HANDLE nativeHandle() const { return port_.get(); }

 private:
  // One overlapped operation slot with its manual-reset completion event.
  struct Overlapped {
    OVERLAPPED record{};
    UniqueHandle done;
    void prepare();
  };
  // An event wait: the driver writes into the record and the mask until the
  // wait has completed, so the pair belongs to one open and is never handed
  // to another, nor freed before then.
  struct CommWaitRecord {
    OVERLAPPED record{};
    UniqueHandle done;
    DWORD mask = 0;
  };

  enum class CommWait { kStarted, kCompleted, kFailed };
  template <typename Call>
  bool onPort(Call&& call);
  bool resultOf(OVERLAPPED& record, DWORD& count, bool wait);
  void failedWith(DWORD error);
  void goAway(DWORD error);
  void releasePort();
  CommWait startCommWait();
  void finishPendingCommWait();
  bool clearCommError(COMSTAT& comStat);
  bool inputGrew();
  uint32_t errorsOfThisEvent();

  // Taken shared around every call on the handle, exclusive to close it.
  SRWLOCK portLock_ = SRWLOCK_INIT;
  UniqueHandle port_;
  bool opened_ = false;  // from a good open to close(), main thread
  std::atomic<bool> gone_{false};
  std::atomic<DWORD> goneError_{0};
  std::atomic<DWORD> lastError_{0};
  // As the device was at open, for a refused open to put back.
  ::DCB foundState_{};
  COMMTIMEOUTS foundTimeouts_{};
  bool foundTimeoutsKnown_ = false;
  UniqueHandle portClaim_;                    // named after the device while it is open
  UniqueHandle lineWake_;                     // auto-reset
  UniqueHandle writerWake_;                   // auto-reset
  std::unique_ptr<CommWaitRecord> commWait_;  // event thread
  Overlapped reading_;                        // caller of read, under the core's status lock
  Overlapped writing_;                        // write thread
  std::atomic<uint32_t> eventMask_{0};
  // Error bits a look at the input queue took from the driver, kept for the
  // next status query.
  std::atomic<uint32_t> takenErrors_{0};
  // The same bits kept for the next line event with EV_ERR while the mask
  // asks for it: a read may take them from the driver before the event
  // thread looks.
  std::atomic<uint32_t> eventErrors_{0};
  std::atomic<bool> readSinceLook_{false};
  // Owned by the event thread (and by close, once that thread has ended).
  bool commWaitPending_ = false;
  // A driver that reports EV_RXCHAR needs no look at the input count.
  bool rxCharSeen_ = false;
  bool lastWaitEmpty_ = false;
  DWORD lookedInput_ = 0;  // input count at the last look, no read since
};

}  // namespace transport::win32
