#include "transport/posix/posix_serial_device.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "transport/posix/termios_mapping.h"

namespace transport {

std::unique_ptr<SerialDevice> createPlatformSerialDevice() {
  return std::make_unique<posix::PosixSerialDevice>();
}

namespace posix {
namespace {

constexpr std::chrono::milliseconds kLineLookPeriod{200};

bool unsupported(int error) { return error == ENOTTY || error == EINVAL; }

// The device is gone (hang-up, adapter unplugged): not a refusal of one call.
bool vanished(int error) { return error == EIO || error == ENODEV || error == ENXIO; }

SerialDevice::OpenResult openFailure(int error) {
  using modbus::PortFailureKind;
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENODEV:
    case ENXIO:
      return {PortFailureKind::kNotFound, error};
    case EACCES:
    case EPERM:
      return {PortFailureKind::kNoPermission, error};
    // Another process set the terminal exclusive, or holds our lock.
    case EBUSY:
    case EWOULDBLOCK:
      return {PortFailureKind::kHeldByOther, error};
    default:
      return {PortFailureKind::kOther, error};
  }
}

void ring(int fd) {
  if (fd < 0) return;
  const uint64_t one = 1;
  [[maybe_unused]] ssize_t n = ::write(fd, &one, sizeof one);
}

void drain(int fd) {
  uint64_t value = 0;
  [[maybe_unused]] ssize_t n = ::read(fd, &value, sizeof value);
}

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

PosixSerialDevice::~PosixSerialDevice() { close(); }

SerialDevice::OpenResult PosixSerialDevice::open(const std::string& path) {
  close();
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return openFailure(errno);
  const auto refuse = [fd](OpenResult result) {
    ::close(fd);
    return result;
  };
  termios2 settings{};
  if (::ioctl(fd, TCGETS2, &settings) != 0) {
    const int error = errno;
    if (unsupported(error)) return refuse({modbus::PortFailureKind::kNotSerial, error});
    return refuse(openFailure(error));
  }
  // No sharing: the lock holds for root too, TIOCEXCL keeps other users out.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return refuse(openFailure(errno));
  if (::ioctl(fd, TIOCEXCL) != 0) return refuse(openFailure(errno));
  const int lineWake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  const int writerWake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (lineWake < 0 || writerWake < 0) {
    const OpenResult result{modbus::PortFailureKind::kOther, errno};
    if (lineWake >= 0) ::close(lineWake);
    if (writerWake >= 0) ::close(writerWake);
    ::ioctl(fd, TIOCNXCL);
    return refuse(result);
  }
  fd_ = fd;
  lineWakeFd_ = lineWake;
  writerWakeFd_ = writerWake;
  gone_ = false;
  goneError_ = 0;
  lastError_ = 0;
  eventMask_ = 0;
  reportedCount_ = 0;
  readSinceReport_ = false;
  foundSettings_ = settings;
  ErrorCounts counts;
  countersSupported_ = readErrorCounts(counts);
  statusBaseline_ = counts;
  eventBaseline_ = counts;
  int lines = 0;
  modemLinesSupported_ = ::ioctl(fd_, TIOCMGET, &lines) == 0;
  modemLines_ = lines;
  foundModemLines_ = lines;
  nextLineLook_ = Clock::now() + kLineLookPeriod;
  return {};
}

void PosixSerialDevice::close() {
  if (fd_ >= 0) {
    // The exclusive flag belongs to the terminal, not to this descriptor: it
    // would outlive us while another process holds the terminal open.
    ::ioctl(fd_, TIOCNXCL);
    closeFd(fd_);
  }
  closeFd(lineWakeFd_);
  closeFd(writerWakeFd_);
}

// Any thread. The descriptor is replaced rather than closed: the other
// threads may be about to use its number, which must not meanwhile name a
// file opened elsewhere. Replacing it drops the device, its lock with it.
void PosixSerialDevice::goAway(int error) {
  if (gone_) return;
  goneError_ = error;
  if (gone_.exchange(true)) return;
  ::ioctl(fd_, TIOCNXCL);
  const int inert = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (inert < 0) return;  // then the device goes at close
  ::dup2(inert, fd_);
  ::close(inert);
  // Waits on the old descriptor end with the hang-up; these end the rest.
  ring(lineWakeFd_);
  ring(writerWakeFd_);
}

void PosixSerialDevice::failedWith(int error) {
  lastError_ = error;
  if (vanished(error)) goAway(error);
}

template <typename Arg>
bool PosixSerialDevice::control(unsigned long request, Arg arg) {
  if (::ioctl(fd_, request, arg) == 0) return true;
  failedWith(errno);
  return false;
}

bool PosixSerialDevice::setTimeouts() {
  termios2 t{};
  if (!control(TCGETS2, &t)) return false;
  makeRaw(t);
  if (!control(TCSETS2, &t)) return false;
  termios2 back{};
  return control(TCGETS2, &back) && (back.c_lflag & ICANON) == 0 && back.c_cc[VMIN] == 0 &&
         back.c_cc[VTIME] == 0;
}

// The terminal's queues have fixed sizes; the transmit queue of the core has
// the output size.
bool PosixSerialDevice::setupQueues(int32_t inSize, int32_t outSize) {
  return inSize >= 0 && outSize >= 0;
}

bool PosixSerialDevice::setEventMask(uint32_t mask) {
  eventMask_ = mask;
  ring(lineWakeFd_);
  return fd_ >= 0;
}

bool PosixSerialDevice::setLineParameters(const DCB& dcb) {
  termios2 current{};
  if (!control(TCGETS2, &current)) return false;
  termios2 wanted = current;
  // What termios cannot express, and what the driver drops while reporting
  // success (a pseudo-terminal forces 8 data bits without parity), is
  // refused without a system error.
  if (!termiosFromDcb(dcb, wanted)) {
    lastError_ = 0;
    return false;
  }
  if (!control(TCSETS2, &wanted)) return false;
  termios2 actual{};
  if (!control(TCGETS2, &actual)) return false;
  if (!sameLineSettings(wanted, actual)) {
    lastError_ = 0;
    return false;
  }
  const bool dtr = (dcb.Flags & dcb_flags::fDtrControlMask) == dcb_flags::fDtrControlEnable;
  const bool rts = (dcb.Flags & dcb_flags::fRtsControlMask) == dcb_flags::fRtsControlEnable;
  escapeFunction(dtr ? EscapeFunction::SETDTR : EscapeFunction::CLRDTR);
  if ((dcb.Flags & dcb_flags::fRtsControlMask) != dcb_flags::fRtsControlHandshake) {
    escapeFunction(rts ? EscapeFunction::SETRTS : EscapeFunction::CLRRTS);
  }
  return true;
}

bool PosixSerialDevice::getLineParameters(DCB& dcb) {
  termios2 t{};
  if (!control(TCGETS2, &t)) return false;
  dcb = dcbFromTermios(t, dcb);
  return true;
}

void PosixSerialDevice::restoreFoundSettings() {
  if (fd_ < 0 || gone_) return;
  ::ioctl(fd_, TCSETS2, &foundSettings_);
  if (!modemLinesSupported_) return;
  int dtr = TIOCM_DTR;
  int rts = TIOCM_RTS;
  ::ioctl(fd_, (foundModemLines_ & TIOCM_DTR) ? TIOCMBIS : TIOCMBIC, &dtr);
  ::ioctl(fd_, (foundModemLines_ & TIOCM_RTS) ? TIOCMBIS : TIOCMBIC, &rts);
}

bool PosixSerialDevice::purge(uint32_t actions) {
  const bool rx = (actions & (PURGE_RXABORT | PURGE_RXCLEAR)) != 0;
  const bool tx = (actions & (PURGE_TXABORT | PURGE_TXCLEAR)) != 0;
  if (!rx && !tx) return true;
  const int selector = rx && tx ? TCIOFLUSH : rx ? TCIFLUSH : TCOFLUSH;
  if (gone_ || !control(TCFLSH, selector)) return false;
  if (rx) ring(lineWakeFd_);
  return true;
}

int32_t PosixSerialDevice::bytesWaiting() {
  int count = 0;
  if (gone_ || !control(FIONREAD, &count)) return -1;
  return count;
}

bool PosixSerialDevice::readErrorCounts(ErrorCounts& counts) {
  serial_icounter_struct ic{};
  if (::ioctl(fd_, TIOCGICOUNT, &ic) != 0) return false;
  counts = {ic.frame, ic.overrun, ic.parity, ic.brk, ic.buf_overrun};
  return true;
}

uint32_t PosixSerialDevice::errorBits(const ErrorCounts& now, const ErrorCounts& before) {
  uint32_t bits = 0;
  if (now.frame != before.frame) bits |= CE_FRAME;
  if (now.overrun != before.overrun) bits |= CE_OVERRUN;
  if (now.parity != before.parity) bits |= CE_RXPARITY;
  if (now.brk != before.brk) bits |= CE_BREAK;
  if (now.bufOverrun != before.bufOverrun) bits |= CE_RXOVER;
  return bits;
}

bool PosixSerialDevice::queueStatus(QueueStatus& status) {
  status = {};
  const int32_t waiting = bytesWaiting();
  if (waiting < 0) return false;
  status.inQue = waiting;
  int out = 0;
  if (::ioctl(fd_, TIOCOUTQ, &out) == 0) status.outQue = out;
  ErrorCounts now;
  if (countersSupported_ && readErrorCounts(now)) {
    status.errors = errorBits(now, statusBaseline_);
    statusBaseline_ = now;
  }
  return true;
}

int32_t PosixSerialDevice::read(char* buffer, int32_t count) {
  if (gone_) return -1;
  if (count <= 0) return 0;
  const ssize_t n = ::read(fd_, buffer, static_cast<size_t>(count));
  if (n > 0) {
    // The event thread stops watching input while some is unread; let it
    // look again, counting whatever is left as new.
    readSinceReport_ = true;
    if (blindWait_) ring(lineWakeFd_);
    return static_cast<int32_t>(n);
  }
  // With VMIN = VTIME = 0 an empty terminal reads 0 bytes, not EAGAIN: that
  // is no hang-up. A far end that went away shows as POLLHUP or EIO.
  if (n == 0 || errno == EAGAIN || errno == EINTR) return 0;
  failedWith(errno);
  return -1;
}

bool PosixSerialDevice::escapeFunction(EscapeFunction function) {
  int bits = 0;
  unsigned long request = TIOCMBIS;
  switch (function) {
    case EscapeFunction::SETDTR:
      bits = TIOCM_DTR;
      break;
    case EscapeFunction::CLRDTR:
      bits = TIOCM_DTR;
      request = TIOCMBIC;
      break;
    case EscapeFunction::SETRTS:
      bits = TIOCM_RTS;
      break;
    case EscapeFunction::CLRRTS:
      bits = TIOCM_RTS;
      request = TIOCMBIC;
      break;
  }
  return !gone_ && control(request, &bits);
}

SerialDevice::LineWait PosixSerialDevice::lineChangesSinceLastLook() {
  const uint32_t mask = eventMask_;
  uint32_t events = 0;
  uint32_t errors = 0;
  if (modemLinesSupported_) {
    int lines = 0;
    if (::ioctl(fd_, TIOCMGET, &lines) == 0) {
      const int changed = lines ^ modemLines_;
      modemLines_ = lines;
      if (changed & TIOCM_CTS) events |= EV_CTS;
      if (changed & TIOCM_DSR) events |= EV_DSR;
      if (changed & TIOCM_CAR) events |= EV_RLSD;
      // Win32 reports a ring on its trailing edge.
      if ((changed & TIOCM_RNG) && !(lines & TIOCM_RNG)) events |= EV_RING;
    } else if (unsupported(errno)) {
      modemLinesSupported_ = false;
    } else {
      failedWith(errno);
    }
  }
  ErrorCounts now;
  if (countersSupported_ && readErrorCounts(now)) {
    errors = errorBits(now, eventBaseline_);
    if (errors != 0) events |= EV_ERR;
    eventBaseline_ = now;
  }
  LineWait result;
  result.mask = events & mask;
  if (result.mask != 0) result.kind = LineWait::Kind::kEvent;
  if (result.mask & EV_ERR) result.errors = errors;
  return result;
}

// Modem lines and error counters wake nothing: they are looked at on their
// own 200 ms schedule, whatever the input does, so that a trickle of bytes,
// each of which ends a wait early, cannot hide their changes.
SerialDevice::LineWait PosixSerialDevice::waitLineEvent(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    const auto now = Clock::now();
    if (now >= nextLineLook_) {
      nextLineLook_ = now + kLineLookPeriod;
      if (!gone_) {
        const LineWait changes = lineChangesSinceLastLook();
        if (changes.kind == LineWait::Kind::kEvent) return changes;
      }
    }
    const auto until = std::min(deadline, nextLineLook_);
    const LineWait wait = waitInput(std::max(
        std::chrono::ceil<std::chrono::milliseconds>(until - now), std::chrono::milliseconds(0)));
    if (wait.kind != LineWait::Kind::kTimeout || Clock::now() >= deadline) return wait;
  }
}

// poll() reports POLLIN for as long as input sits unread, so the device is
// watched for input only while nothing is waiting; otherwise growth is
// noticed on the next wake-up or tick.
SerialDevice::LineWait PosixSerialDevice::waitInput(std::chrono::milliseconds timeout) {
  LineWait result;
  const uint32_t mask = eventMask_;
  const bool watchInput = (mask & EV_RXCHAR) != 0 && !gone_;
  if (readSinceReport_.exchange(false)) reportedCount_ = 0;
  if (watchInput) {
    const int32_t waiting = bytesWaiting();
    if (waiting > reportedCount_) {
      reportedCount_ = waiting;
      result.kind = LineWait::Kind::kEvent;
      result.mask = EV_RXCHAR;
      return result;
    }
    reportedCount_ = std::max<int32_t>(waiting, 0);
  }
  pollfd fds[2] = {{lineWakeFd_, POLLIN, 0}, {fd_, 0, 0}};
  nfds_t count = 1;
  if (!gone_) {
    fds[1].events = watchInput && reportedCount_ == 0 ? POLLIN : 0;
    count = 2;
  }
  // Paired with read(): either it sees the blind wait and rings, or the
  // wait sees its flag and looks at the input again at once.
  const bool blind = count == 2 && fds[1].events == 0 && watchInput;
  blindWait_ = blind;
  const int ready =
      blind && readSinceReport_ ? 0 : ::poll(fds, count, static_cast<int>(timeout.count()));
  blindWait_ = false;
  if (blind && readSinceReport_) {
    result.kind = LineWait::Kind::kWoken;
    return result;
  }
  if (ready < 0) {
    result.kind = LineWait::Kind::kWoken;
    return result;
  }
  if (ready == 0) return result;
  if (fds[0].revents & POLLIN) {
    drain(lineWakeFd_);
    result.kind = LineWait::Kind::kWoken;
    return result;
  }
  if (count == 2 && (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL))) {
    goAway(0);
    result.kind = LineWait::Kind::kWoken;
    return result;
  }
  if (count == 2 && (fds[1].revents & POLLIN) && watchInput) {
    const int32_t waiting = bytesWaiting();
    if (waiting > reportedCount_) {
      reportedCount_ = waiting;
      result.kind = LineWait::Kind::kEvent;
      result.mask = EV_RXCHAR;
      return result;
    }
  }
  result.kind = LineWait::Kind::kWoken;
  return result;
}

void PosixSerialDevice::wakeLineWait() { ring(lineWakeFd_); }

SerialDevice::WriteStatus PosixSerialDevice::write(const char* data, int32_t count,
                                                   int32_t& written) {
  written = 0;
  while (written < count) {
    if (gone_) return WriteStatus::kFailed;
    const ssize_t n = ::write(fd_, data + written, static_cast<size_t>(count - written));
    if (n > 0) {
      written += static_cast<int32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      failedWith(errno);
      return WriteStatus::kFailed;
    }
    // The terminal's queue is full: wait until it takes more, or until the
    // core interrupts the write (flush or stop).
    pollfd fds[2] = {{writerWakeFd_, POLLIN, 0}, {fd_, POLLOUT, 0}};
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) return WriteStatus::kFailed;
    if (fds[0].revents & POLLIN) {
      drain(writerWakeFd_);
      return WriteStatus::kInterrupted;
    }
    if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      goAway(0);
      return WriteStatus::kFailed;
    }
  }
  return WriteStatus::kDone;
}

void PosixSerialDevice::wakeWriter() { ring(writerWakeFd_); }

int32_t PosixSerialDevice::writeNow(const char* data, int32_t count) {
  if (gone_) return -1;
  for (;;) {
    const ssize_t n = ::write(fd_, data, static_cast<size_t>(count));
    if (n >= 0) return static_cast<int32_t>(n);
    if (errno == EINTR) continue;
    if (errno == EAGAIN) return 0;
    failedWith(errno);
    return -1;
  }
}

}  // namespace posix
}  // namespace transport
