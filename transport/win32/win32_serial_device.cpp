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

// Time for a driver to end an event wait it was told to end.
constexpr DWORD kWaitEndLimitMs = 2000;
// Wine reports no EV_RXCHAR on a pseudo-terminal (its receive counter comes
// from an ioctl a pseudo-terminal lacks), and its first event wait may end
// empty: while EV_RXCHAR is asked for, the input count is looked at this
// often and growth is reported as EV_RXCHAR.
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
  commWait_.done.reset(newEvent(true));
  reading_.done.reset(newEvent(true));
  writing_.done.reset(newEvent(true));
}

Win32SerialDevice::~Win32SerialDevice() { close(); }

SerialDevice::OpenStatus Win32SerialDevice::open(const std::string& path) {
  close();
  std::wstring name;
  if (!widen(path, name)) return OpenStatus::kNotFound;
  if (!lineWake_.valid() || !writerWake_.valid() || !commWait_.done.valid() ||
      !reading_.done.valid() || !writing_.done.valid()) {
    return OpenStatus::kCannotOpen;
  }
  UniqueHandle claim(::CreateEventW(nullptr, TRUE, FALSE, claimName(name).c_str()));
  if (!claim.valid() || ::GetLastError() == ERROR_ALREADY_EXISTS) return OpenStatus::kCannotOpen;
  // No sharing: a port another program holds answers with a sharing
  // violation or a refused access.
  HANDLE port = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? OpenStatus::kNotFound
                                                                          : OpenStatus::kCannotOpen;
  }
  port_.reset(port);
  portClaim_ = std::move(claim);
  ::ResetEvent(lineWake_.get());
  ::ResetEvent(writerWake_.get());
  eventMask_ = 0;
  takenErrors_ = 0;
  eventErrors_ = 0;
  foundState_ = ::DCB{};
  foundState_.DCBlength = sizeof foundState_;
  foundStateKnown_ = ::GetCommState(port, &foundState_) != FALSE;
  foundTimeoutsKnown_ = ::GetCommTimeouts(port, &foundTimeouts_) != FALSE;
  readSinceLook_ = false;
  commWaitPending_ = false;
  lastWaitEmpty_ = false;
  lookedInput_ = 0;
  return OpenStatus::kOk;
}

// The event thread has ended by now, but its event wait may still be in
// flight: the driver writes into the record until the wait is finished, so
// it is ended and waited for before the handle goes.
void Win32SerialDevice::close() {
  if (!port_.valid()) return;
  finishPendingCommWait();
  port_.reset();
  portClaim_.reset();
}

// A new mask ends the wait on Windows and on Wine alike; Wine does not cancel
// an event wait, so cancelling is only the second resort.
void Win32SerialDevice::finishPendingCommWait() {
  if (!commWaitPending_) return;
  ::SetCommMask(port_.get(), 0);
  if (::WaitForSingleObject(commWait_.done.get(), kWaitEndLimitMs) != WAIT_OBJECT_0) {
    ::CancelIoEx(port_.get(), &commWait_.record);
    if (::WaitForSingleObject(commWait_.done.get(), kWaitEndLimitMs) != WAIT_OBJECT_0) return;
  }
  DWORD ignored = 0;
  ::GetOverlappedResult(port_.get(), &commWait_.record, &ignored, FALSE);
  commWaitPending_ = false;
}

bool Win32SerialDevice::setTimeouts() {
  // An interval limit of MAXDWORD with no total limits: a read returns at
  // once with what is waiting, also when nothing is.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  return ::SetCommTimeouts(port_.get(), &timeouts) != FALSE;
}

bool Win32SerialDevice::setupQueues(int32_t inSize, int32_t outSize) {
  if (inSize < 0 || outSize < 0) return false;
  return ::SetupComm(port_.get(), static_cast<DWORD>(inSize), static_cast<DWORD>(outSize)) != FALSE;
}

// A new mask ends an event wait under way with an empty mask; the mask is
// stored first so that the waiting thread can tell that from a spurious one.
bool Win32SerialDevice::setEventMask(uint32_t mask) {
  eventMask_ = mask;
  return ::SetCommMask(port_.get(), mask) != FALSE;
}

bool Win32SerialDevice::setLineParameters(const DCB& dcb) {
  ::DCB native = std::bit_cast<::DCB>(dcb);
  return ::SetCommState(port_.get(), &native) != FALSE;
}

bool Win32SerialDevice::getLineParameters(DCB& dcb) {
  ::DCB native{};
  native.DCBlength = sizeof native;
  if (!::GetCommState(port_.get(), &native)) return false;
  dcb = std::bit_cast<DCB>(native);
  return true;
}

// The DCB carries the DTR and RTS control, so the lines come back with it.
void Win32SerialDevice::restoreFoundSettings() {
  if (!port_.valid()) return;
  if (foundStateKnown_) {
    ::DCB state = foundState_;
    ::SetCommState(port_.get(), &state);
  }
  if (foundTimeoutsKnown_) {
    COMMTIMEOUTS timeouts = foundTimeouts_;
    ::SetCommTimeouts(port_.get(), &timeouts);
  }
}

bool Win32SerialDevice::purge(uint32_t actions) {
  return ::PurgeComm(port_.get(), actions) != FALSE;
}

bool Win32SerialDevice::clearCommError(COMSTAT& comStat) {
  DWORD errors = 0;
  comStat = COMSTAT{};
  if (!::ClearCommError(port_.get(), &errors, &comStat)) return false;
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
  if (::ReadFile(port_.get(), buffer, static_cast<DWORD>(count), &n, &reading_.record)) {
    return static_cast<int32_t>(n);
  }
  if (::GetLastError() != ERROR_IO_PENDING) return -1;
  // The time-outs make even a pending read finish at once.
  if (!::GetOverlappedResult(port_.get(), &reading_.record, &n, TRUE)) return -1;
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
  return ::EscapeCommFunction(port_.get(), code) != FALSE;
}

Win32SerialDevice::CommWait Win32SerialDevice::startCommWait() {
  commWait_.prepare();
  commWaitMask_ = 0;
  if (::WaitCommEvent(port_.get(), &commWaitMask_, &commWait_.record)) return CommWait::kCompleted;
  if (::GetLastError() != ERROR_IO_PENDING) return CommWait::kFailed;
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
    if (!commWaitPending_ && mayStart && eventMask_ != 0 && port_.valid()) {
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
      const HANDLE handles[2] = {lineWake_.get(), commWait_.done.get()};
      const DWORD count = commWaitPending_ ? 2 : 1;
      const bool lookAtInput = (eventMask_ & EV_RXCHAR) != 0;
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
      const bool ok =
          ::GetOverlappedResult(port_.get(), &commWait_.record, &ignored, FALSE) != FALSE;
      commWaitPending_ = false;
      if (!ok) commWaitMask_ = 0;
    }
    const uint32_t mask = commWaitMask_ & eventMask_;
    if (mask != 0) {
      lastWaitEmpty_ = false;
      if (mask & EV_RXCHAR) inputGrew();
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
    if (!::WriteFile(port_.get(), data + written, static_cast<DWORD>(count - written), &n,
                     &writing_.record)) {
      if (::GetLastError() != ERROR_IO_PENDING) return WriteStatus::kFailed;
      const HANDLE handles[2] = {writerWake_.get(), writing_.done.get()};
      const DWORD signalled = ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
      if (signalled != WAIT_OBJECT_0 + 1) {
        // Woken (flush or stop): the write under way is cancelled; what the
        // driver sent before that is counted.
        ::CancelIoEx(port_.get(), &writing_.record);
        ::GetOverlappedResult(port_.get(), &writing_.record, &n, TRUE);
        written += static_cast<int32_t>(n);
        if (written == count) return WriteStatus::kDone;
        return signalled == WAIT_OBJECT_0 ? WriteStatus::kInterrupted : WriteStatus::kFailed;
      }
      if (!::GetOverlappedResult(port_.get(), &writing_.record, &n, FALSE)) {
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
