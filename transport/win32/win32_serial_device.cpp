#include "transport/win32/win32_serial_device.h"

#include <algorithm>
#include <bit>
#include <cwctype>

namespace transport {

std::unique_ptr<SerialDevice> createPlatformSerialDevice() {
  return std::make_unique<win32::Win32SerialDevice>();
}

namespace win32 {
namespace {

static_assert(sizeof(::DCB) == sizeof(transport::DCB), "the block is the platform's DCB");
// The core's constants are the platform's values, handed through unchanged.
static_assert(api::kEvRxChar == EV_RXCHAR && api::kEvCts == EV_CTS && api::kEvDsr == EV_DSR &&
              api::kEvRlsd == EV_RLSD && api::kEvErr == EV_ERR && api::kEvRing == EV_RING);
static_assert(api::kCeRxOver == CE_RXOVER && api::kCeOverrun == CE_OVERRUN &&
              api::kCeRxParity == CE_RXPARITY && api::kCeFrame == CE_FRAME &&
              api::kCeBreak == CE_BREAK);
static_assert(api::kPurgeTxAbort == PURGE_TXABORT && api::kPurgeRxAbort == PURGE_RXABORT &&
              api::kPurgeTxClear == PURGE_TXCLEAR && api::kPurgeRxClear == PURGE_RXCLEAR);
static_assert(api::kNoParity == NOPARITY && api::kOddParity == ODDPARITY &&
              api::kEvenParity == EVENPARITY && api::kMarkParity == MARKPARITY &&
              api::kSpaceParity == SPACEPARITY);
static_assert(api::kOneStopBit == ONESTOPBIT && api::kOne5StopBits == ONE5STOPBITS &&
              api::kTwoStopBits == TWOSTOPBITS);

HANDLE newEvent(bool manualReset) {
  return ::CreateEventW(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr);
}

// Device names come from the settings file as UTF-8.
bool widen(const std::string& text, std::wstring& wide) {
  if (text.empty()) return false;
  const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return false;
  wide.assign(static_cast<size_t>(size), L'\0');
  return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                               static_cast<int>(text.size()), wide.data(), size) == size;
}

// One name per device in the session's namespace; object names take no
// backslash after the namespace, and device names compare without case.
std::wstring claimName(const std::wstring& device) {
  std::wstring name = L"Local\\ulm5-serial-port-";
  for (wchar_t c : device) name += c == L'\\' ? L'/' : static_cast<wchar_t>(::towupper(c));
  return name;
}

SerialDevice::OpenResult openFailure(DWORD error) {
  using modbus::PortFailureKind;
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return {PortFailureKind::kNotFound, static_cast<int>(error)};
    // No sharing: a port another program holds answers with a sharing
    // violation or a refused access.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return {PortFailureKind::kHeldByOther, static_cast<int>(error)};
    default:
      return {PortFailureKind::kOther, static_cast<int>(error)};
  }
}

// How a driver fails the calls on an open port whose adapter was removed.
bool deviceGone(DWORD error) {
  switch (error) {
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_ACCESS_DENIED:
    case ERROR_OPERATION_ABORTED:
    case ERROR_DEVICE_NOT_CONNECTED:
      return true;
    default:
      return false;
  }
}

// Time for a driver to end an event wait it was told to end.
constexpr DWORD kWaitEndLimitMs = 2000;
// Wine reports no EV_RXCHAR on a pseudo-terminal (its receive counter comes
// from an ioctl a pseudo-terminal lacks), and its first event wait may end
// empty: until EV_RXCHAR has come once on a handle, the input count is
// looked at this often while it is asked for, and growth is reported as
// EV_RXCHAR.
constexpr std::chrono::milliseconds kInputLookPeriod{50};

DWORD millisecondsUntil(std::chrono::steady_clock::time_point deadline) {
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
}

}  // namespace

void Win32SerialDevice::Overlapped::prepare() {
  record = OVERLAPPED{};
  record.hEvent = done.get();
  ::ResetEvent(done.get());
}

Win32SerialDevice::Win32SerialDevice() : lineWake_(newEvent(false)), writerWake_(newEvent(false)) {
  reading_.done.reset(newEvent(true));
  writing_.done.reset(newEvent(true));
}

Win32SerialDevice::~Win32SerialDevice() { close(); }

// A thread that finds the device gone closes the handle at once, and a
// closed handle's value may then name another object: every call on it is
// made under the shared hold, and fails without one once it is closed. The
// system's error stays the thread's last error.
template <typename Call>
bool Win32SerialDevice::onPort(Call&& call) {
  ::AcquireSRWLockShared(&portLock_);
  bool ok = false;
  DWORD error = ERROR_INVALID_HANDLE;
  if (port_.valid()) {
    ok = call(port_.get());
    if (!ok) error = ::GetLastError();
  }
  ::ReleaseSRWLockShared(&portLock_);
  if (!ok) {
    if (error != ERROR_IO_PENDING) lastError_ = error;
    ::SetLastError(error);
  }
  return ok;
}

// The handle plays no part once the record's event is set or is waited for,
// so this holds also after the device was let go.
bool Win32SerialDevice::resultOf(OVERLAPPED& record, DWORD& count, bool wait) {
  ::AcquireSRWLockShared(&portLock_);
  const HANDLE port = port_.get();
  ::ReleaseSRWLockShared(&portLock_);
  return ::GetOverlappedResult(port, &record, &count, wait ? TRUE : FALSE) != FALSE;
}

void Win32SerialDevice::failedWith(DWORD error) {
  if (opened_ && deviceGone(error)) goAway(error);
}

void Win32SerialDevice::goAway(DWORD error) {
  if (gone_) return;
  goneError_ = error;
  if (gone_.exchange(true)) return;
  releasePort();
  ::SetEvent(lineWake_.get());
}

// Operations still under way end with an error; their records stay until
// they have.
void Win32SerialDevice::releasePort() {
  ::AcquireSRWLockExclusive(&portLock_);
  port_.reset();
  portClaim_.reset();
  ::ReleaseSRWLockExclusive(&portLock_);
}

SerialDevice::OpenResult Win32SerialDevice::open(const std::string& path) {
  close();
  std::wstring name;
  if (!widen(path, name)) return {modbus::PortFailureKind::kNotFound, ERROR_INVALID_NAME};
  if (!lineWake_.valid() || !writerWake_.valid() || !reading_.done.valid() ||
      !writing_.done.valid()) {
    return {modbus::PortFailureKind::kOther, 0};
  }
  UniqueHandle claim(::CreateEventW(nullptr, TRUE, FALSE, claimName(name).c_str()));
  if (!claim.valid()) return {modbus::PortFailureKind::kOther, static_cast<int>(::GetLastError())};
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    return {modbus::PortFailureKind::kHeldByOther, ERROR_ALREADY_EXISTS};
  }
  UniqueHandle port(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
  if (!port.valid()) return openFailure(::GetLastError());
  foundState_ = ::DCB{};
  foundState_.DCBlength = sizeof foundState_;
  if (!::GetCommState(port.get(), &foundState_)) {
    return {modbus::PortFailureKind::kNotSerial, static_cast<int>(::GetLastError())};
  }
  foundTimeoutsKnown_ = ::GetCommTimeouts(port.get(), &foundTimeouts_) != FALSE;
  port_ = std::move(port);
  portClaim_ = std::move(claim);
  opened_ = true;
  gone_ = false;
  goneError_ = 0;
  lastError_ = 0;
  ::ResetEvent(lineWake_.get());
  ::ResetEvent(writerWake_.get());
  eventMask_ = 0;
  takenErrors_ = 0;
  eventErrors_ = 0;
  readSinceLook_ = false;
  commWaitPending_ = false;
  rxCharSeen_ = false;
  lastWaitEmpty_ = false;
  lookedInput_ = 0;
  return {};
}

// The event thread has ended by now, but its event wait may still be in
// flight: the driver writes into the record until the wait is finished, so
// it is ended and waited for before the handle goes.
void Win32SerialDevice::close() {
  if (!opened_) return;
  finishPendingCommWait();
  releasePort();
  opened_ = false;
}

// A new mask ends the wait on Windows and on Wine alike; Wine does not cancel
// an event wait, so cancelling is only the second resort. A wait that does
// not end even then keeps its record for good: the next open starts with a
// new one.
void Win32SerialDevice::finishPendingCommWait() {
  if (commWaitPending_) {
    const HANDLE done = commWait_->done.get();
    onPort([](HANDLE port) { return ::SetCommMask(port, 0) != FALSE; });
    if (::WaitForSingleObject(done, kWaitEndLimitMs) != WAIT_OBJECT_0) {
      onPort([&](HANDLE port) { return ::CancelIoEx(port, &commWait_->record) != FALSE; });
      if (::WaitForSingleObject(done, kWaitEndLimitMs) != WAIT_OBJECT_0) {
        static_cast<void>(commWait_.release());
      }
    }
    commWaitPending_ = false;
  }
  commWait_.reset();
}

bool Win32SerialDevice::setTimeouts() {
  // An interval limit of MAXDWORD with no total limits: a read returns at
  // once with what is waiting, also when nothing is.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  return onPort([&](HANDLE port) { return ::SetCommTimeouts(port, &timeouts) != FALSE; });
}

bool Win32SerialDevice::setupQueues(int32_t inSize, int32_t outSize) {
  if (inSize < 0 || outSize < 0) return false;
  return onPort([&](HANDLE port) {
    return ::SetupComm(port, static_cast<DWORD>(inSize), static_cast<DWORD>(outSize)) != FALSE;
  });
}

// A new mask ends an event wait under way with an empty mask; the mask is
// stored first so that the waiting thread can tell that from a spurious one.
bool Win32SerialDevice::setEventMask(uint32_t mask) {
  eventMask_ = mask;
  return onPort([&](HANDLE port) { return ::SetCommMask(port, mask) != FALSE; });
}

bool Win32SerialDevice::setLineParameters(const DCB& dcb) {
  ::DCB native = std::bit_cast<::DCB>(dcb);
  return onPort([&](HANDLE port) { return ::SetCommState(port, &native) != FALSE; });
}

bool Win32SerialDevice::getLineParameters(DCB& dcb) {
  ::DCB native{};
  native.DCBlength = sizeof native;
  if (!onPort([&](HANDLE port) { return ::GetCommState(port, &native) != FALSE; })) return false;
  dcb = std::bit_cast<DCB>(native);
  return true;
}

// The DCB carries the DTR and RTS control, so the lines come back with it.
void Win32SerialDevice::restoreFoundSettings() {
  ::DCB state = foundState_;
  onPort([&](HANDLE port) { return ::SetCommState(port, &state) != FALSE; });
  if (foundTimeoutsKnown_) {
    COMMTIMEOUTS timeouts = foundTimeouts_;
    onPort([&](HANDLE port) { return ::SetCommTimeouts(port, &timeouts) != FALSE; });
  }
}

bool Win32SerialDevice::purge(uint32_t actions) {
  return onPort([&](HANDLE port) { return ::PurgeComm(port, actions) != FALSE; });
}

bool Win32SerialDevice::clearCommError(COMSTAT& comStat) {
  DWORD errors = 0;
  comStat = COMSTAT{};
  if (!onPort([&](HANDLE port) { return ::ClearCommError(port, &errors, &comStat) != FALSE; })) {
    failedWith(::GetLastError());
    return false;
  }
  takenErrors_.fetch_or(errors);
  if (eventMask_ & EV_ERR) eventErrors_.fetch_or(errors);
  return true;
}

bool Win32SerialDevice::queueStatus(QueueStatus& status) {
  status = {};
  COMSTAT comStat;
  if (!clearCommError(comStat)) return false;
  status.errors = takenErrors_.exchange(0);
  status.inQue = static_cast<int32_t>(comStat.cbInQue);
  status.outQue = static_cast<int32_t>(comStat.cbOutQue);
  return true;
}

// Wine keeps a read of an empty queue pending despite the time-outs, so only
// what waits is asked for.
int32_t Win32SerialDevice::read(char* buffer, int32_t count) {
  if (count <= 0) return 0;
  COMSTAT comStat;
  if (!clearCommError(comStat)) return -1;
  if (comStat.cbInQue == 0) return 0;
  if (static_cast<DWORD>(count) > comStat.cbInQue) count = static_cast<int32_t>(comStat.cbInQue);
  readSinceLook_ = true;
  reading_.prepare();
  DWORD n = 0;
  if (onPort([&](HANDLE port) {
        return ::ReadFile(port, buffer, static_cast<DWORD>(count), &n, &reading_.record) != FALSE;
      })) {
    return static_cast<int32_t>(n);
  }
  if (::GetLastError() != ERROR_IO_PENDING) return -1;
  // The time-outs make even a pending read finish at once.
  if (!resultOf(reading_.record, n, true)) return -1;
  return static_cast<int32_t>(n);
}

bool Win32SerialDevice::escapeFunction(EscapeFunction function) {
  DWORD code = 0;
  switch (function) {
    case EscapeFunction::SETRTS:
      code = api::kSetRts;
      break;
    case EscapeFunction::CLRRTS:
      code = api::kClrRts;
      break;
    case EscapeFunction::SETDTR:
      code = api::kSetDtr;
      break;
    case EscapeFunction::CLRDTR:
      code = api::kClrDtr;
      break;
  }
  return onPort([&](HANDLE port) { return ::EscapeCommFunction(port, code) != FALSE; });
}

Win32SerialDevice::CommWait Win32SerialDevice::startCommWait() {
  if (!commWait_) {
    auto wait = std::make_unique<CommWaitRecord>();
    wait->done.reset(newEvent(true));
    if (!wait->done.valid()) return CommWait::kFailed;
    commWait_ = std::move(wait);
  }
  CommWaitRecord& wait = *commWait_;
  wait.record = OVERLAPPED{};
  wait.record.hEvent = wait.done.get();
  ::ResetEvent(wait.done.get());
  wait.mask = 0;
  if (onPort(
          [&](HANDLE port) { return ::WaitCommEvent(port, &wait.mask, &wait.record) != FALSE; })) {
    return CommWait::kCompleted;
  }
  const DWORD error = ::GetLastError();
  if (error != ERROR_IO_PENDING) {
    failedWith(error);
    return CommWait::kFailed;
  }
  commWaitPending_ = true;
  return CommWait::kStarted;
}

// The driver holds the error bits until they are cleared; what reads cleared
// since the last such event is theirs too.
uint32_t Win32SerialDevice::errorsOfThisEvent() {
  COMSTAT comStat;
  clearCommError(comStat);
  return eventErrors_.exchange(0);
}

bool Win32SerialDevice::inputGrew() {
  if (readSinceLook_.exchange(false)) lookedInput_ = 0;
  COMSTAT comStat;
  if (!clearCommError(comStat)) return false;
  const bool grew = comStat.cbInQue > lookedInput_;
  lookedInput_ = comStat.cbInQue;
  return grew;
}

// A wait that ends with an empty mask means that the mask was replaced while
// it ran: when the new mask is empty the port is closing and the wait is not
// started again. Wine also ends a first wait with an empty mask for no
// reason; such a wait is started again once at once, and after a second
// empty end only at the next call, so that a driver that keeps doing it
// costs one wait per call rather than a spinning thread.
SerialDevice::LineWait Win32SerialDevice::waitLineEvent(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  bool mayStart = true;
  for (;;) {
    bool ended = false;
    if (!commWaitPending_ && mayStart && eventMask_ != 0 && !gone_) {
      switch (startCommWait()) {
        case CommWait::kStarted:
          break;
        case CommWait::kCompleted:
          ended = true;
          break;
        case CommWait::kFailed:
          mayStart = false;
          break;
      }
    }
    if (!ended) {
      const HANDLE handles[2] = {lineWake_.get(),
                                 commWaitPending_ ? commWait_->done.get() : nullptr};
      const DWORD count = commWaitPending_ ? 2 : 1;
      const bool lookAtInput = (eventMask_ & EV_RXCHAR) != 0 && !rxCharSeen_ && !gone_;
      const auto until =
          lookAtInput ? std::min(deadline, std::chrono::steady_clock::now() + kInputLookPeriod)
                      : deadline;
      const DWORD signalled =
          ::WaitForMultipleObjects(count, handles, FALSE, millisecondsUntil(until));
      if (signalled == WAIT_TIMEOUT) {
        if (lookAtInput && inputGrew()) return {LineWait::Kind::kEvent, EV_RXCHAR};
        if (std::chrono::steady_clock::now() < deadline) continue;
        return {LineWait::Kind::kTimeout, 0};
      }
      if (signalled != WAIT_OBJECT_0 + 1) return {LineWait::Kind::kWoken, 0};
      DWORD ignored = 0;
      const bool ok = resultOf(commWait_->record, ignored, false);
      commWaitPending_ = false;
      if (!ok) {
        failedWith(::GetLastError());
        commWait_->mask = 0;
      }
    }
    const uint32_t mask = commWait_->mask & eventMask_;
    if (mask != 0) {
      lastWaitEmpty_ = false;
      if (mask & EV_RXCHAR) {
        rxCharSeen_ = true;
        inputGrew();
      }
      LineWait event{LineWait::Kind::kEvent, mask};
      if (mask & EV_ERR) event.errors = errorsOfThisEvent();
      return event;
    }
    mayStart = !lastWaitEmpty_;
    lastWaitEmpty_ = true;
  }
}

void Win32SerialDevice::wakeLineWait() { ::SetEvent(lineWake_.get()); }

SerialDevice::WriteStatus Win32SerialDevice::write(const char* data, int32_t count,
                                                   int32_t& written) {
  written = 0;
  while (written < count) {
    writing_.prepare();
    DWORD n = 0;
    if (!onPort([&](HANDLE port) {
          return ::WriteFile(port, data + written, static_cast<DWORD>(count - written), &n,
                             &writing_.record) != FALSE;
        })) {
      const DWORD error = ::GetLastError();
      if (error != ERROR_IO_PENDING) {
        failedWith(error);
        return WriteStatus::kFailed;
      }
      const HANDLE handles[2] = {writerWake_.get(), writing_.done.get()};
      const DWORD signalled = ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
      if (signalled != WAIT_OBJECT_0 + 1) {
        // Woken (flush or stop): the write under way is cancelled; what the
        // driver sent before that is counted.
        onPort([&](HANDLE port) { return ::CancelIoEx(port, &writing_.record) != FALSE; });
        resultOf(writing_.record, n, true);
        written += static_cast<int32_t>(n);
        if (written == count) return WriteStatus::kDone;
        return signalled == WAIT_OBJECT_0 ? WriteStatus::kInterrupted : WriteStatus::kFailed;
      }
      if (!resultOf(writing_.record, n, false)) {
        failedWith(::GetLastError());
        return WriteStatus::kFailed;
      }
    }
    if (n == 0) return WriteStatus::kFailed;
    written += static_cast<int32_t>(n);
  }
  return WriteStatus::kDone;
}

void Win32SerialDevice::wakeWriter() { ::SetEvent(writerWake_.get()); }

// A serial driver takes a write as an operation that ends when the line has
// sent it; cancelling one to stay non-blocking would leave unclear how much
// went out. So nothing is handed over here: the write thread sends it all.
int32_t Win32SerialDevice::writeNow(const char*, int32_t) { return 0; }

}  // namespace win32
}  // namespace transport
