#pragma once

// termios2, from the kernel's header (not to be mixed with <termios.h>).
#include <asm/termbits.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "transport/serial_device.h"

namespace transport::posix {

// A terminal device through termios and ioctl. Pseudo-terminals answer
// ENOTTY to every modem-line and error-counter request: those paths report
// "unsupported" and never fail the port. A device that went away (POLLHUP,
// or EIO, ENXIO, ENODEV from any call) is let go at once and no longer
// polled.
class PosixSerialDevice : public SerialDevice {
 public:
  PosixSerialDevice() = default;
  ~PosixSerialDevice() override;
  PosixSerialDevice(const PosixSerialDevice&) = delete;
  PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

  OpenResult open(const std::string& path) override;
  bool isOpen() const override { return fd_ >= 0; }
  void close() override;
  int lastError() const override { return lastError_; }
  bool wentAway() const override { return gone_; }
  int wentAwayError() const override { return goneError_; }

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

 private:
  struct ErrorCounts {
    int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
  };

  template <typename Arg>
  bool control(unsigned long request, Arg arg);
  void failedWith(int error);
  void goAway(int error);
  bool readErrorCounts(ErrorCounts& counts);
  static uint32_t errorBits(const ErrorCounts& now, const ErrorCounts& before);
  LineWait lineChangesSinceLastLook();
  LineWait waitInput(std::chrono::milliseconds timeout);
  int32_t bytesWaiting();

  using Clock = std::chrono::steady_clock;

  int fd_ = -1;
  // As the device was at open, for a refused open to put back.
  termios2 foundSettings_{};
  int foundModemLines_ = 0;
  int lineWakeFd_ = -1;
  int writerWakeFd_ = -1;
  std::atomic<uint32_t> eventMask_{0};
  std::atomic<bool> gone_{false};
  std::atomic<int> goneError_{0};
  std::atomic<int> lastError_{0};
  std::atomic<bool> countersSupported_{false};
  std::atomic<bool> modemLinesSupported_{false};
  // Owned by the status queries (serialised by the core's status lock).
  ErrorCounts statusBaseline_;
  // Owned by the event thread.
  ErrorCounts eventBaseline_;
  int modemLines_ = 0;
  Clock::time_point nextLineLook_;
  int32_t reportedCount_ = 0;  // waiting count last reported, no read since
  std::atomic<bool> readSinceReport_{false};
  // Set while the event thread waits without watching input: only then does
  // a read need to wake it.
  std::atomic<bool> blindWait_{false};
};

}  // namespace transport::posix
