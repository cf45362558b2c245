#include "sim/simulator.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

#include "sim/counted_faults.h"
#include "sim/frame_reader.h"
#include "sim/line.h"
#include "sim/line_speed.h"
#include "sim/modbus_slave.h"
#include "sim/reply_plan.h"
#include "sim/unique_fd.h"

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// An endless stream goes out in small pieces close together: far below the
// shortest exchange delay of the configurator (50 ms), and slow enough (about
// 500 characters per second) that the master's input queue does not fill up
// within its longest wait.
constexpr milliseconds kStreamPeriod{16};
constexpr std::size_t kStreamPiece = 8;

constexpr milliseconds kRetryComeBack{100};

// Closing a pseudo-terminal's master throws away what its slave has not read,
// so a hang-up waits until the last reply has been read. A write reaches the
// slave's queue a moment after it returns, hence the settling time; a reply
// nobody reads holds the hang-up back no longer than the limit.
constexpr milliseconds kHangupSettle{20};
constexpr milliseconds kHangupLimit{1000};
constexpr milliseconds kHangupCheck{2};

}  // namespace

class Simulator::Impl {
 public:
  explicit Impl(SimulatorOptions options);
  ~Impl();

  void run();
  void wake();
  // Runs `apply` under the settings lock and waits until the serving thread
  // has gone round once with the result.
  template <typename Apply>
  void change(const Apply& apply);
  void serveInput(Clock::time_point now);
  std::vector<Instrument*> unitsTaking(uint8_t address, bool allAnswerZero);
  void answer(const std::string& request, Clock::time_point now);
  void flushDueWrites(Clock::time_point now);
  Clock::time_point nextWriteDue() const;
  void streamIfDue(Clock::time_point now);
  void writeToLine(const std::string& bytes);
  void commitSpeed();
  void requestDone();
  void hangUpIfDue(Clock::time_point now);
  void hangUp(Clock::time_point now, int backAfterMs);
  void comeBackIfDue(Clock::time_point now);
  std::unique_ptr<Line> openLine();
  bool canComeBack() const { return !device_.empty() || !linkPath_.empty(); }

  struct Settings {
    Fault fault = Fault::kNone;
    int faultParamMs = 0;
    int turnaroundMs = 0;
    bool checkLineSpeed = true;
    std::optional<uint8_t> glitchByte;
    bool allAnswerZero = false;
    bool pace = false;
  };
  Settings settings() const {
    const std::lock_guard lock(settingsMutex_);
    return settings_;
  }

  struct PendingWrite {
    Clock::time_point due;  // the first character sets out
    std::string bytes;
    bool endsRequest = false;  // the last write for its request
    int pacedBps = 0;          // characters at this line speed; 0: all at once
    std::size_t sent = 0;
  };

  // One instrument per address on the line; the first also answers address 0.
  std::vector<std::unique_ptr<Instrument>> instruments_;
  Instrument& instrument_;
  const std::string device_;
  const std::string linkPath_;
  std::unique_ptr<Line> line_;  // null while the line is hung up
  std::string devicePath_;
  UniqueFd wakeFd_;
  milliseconds updatePeriod_;

  mutable std::mutex settingsMutex_;
  Settings settings_;
  CountedFaults counted_;
  // A setter waits until the serving thread has run with the new settings.
  uint64_t generation_ = 0;
  uint64_t appliedGeneration_ = 0;
  std::condition_variable applied_;
  std::atomic<uint64_t> repliesPending_{0};
  RequestLog log_;

  std::atomic<uint64_t> served_{0};
  std::atomic<uint64_t> rejected_{0};
  std::atomic<uint64_t> mismatches_{0};
  std::atomic<uint64_t> bytesIn_{0};
  std::atomic<uint64_t> bytesOut_{0};
  std::atomic<bool> stop_{false};

  // Owned by the serving thread.
  FrameReader reader_;
  std::deque<PendingWrite> writes_;
  bool lineAlive_ = true;
  bool streaming_ = false;
  std::string streamText_;
  std::size_t streamPos_ = 0;
  Clock::time_point nextStream_;
  std::optional<Clock::time_point> backAt_;
  Clock::time_point lastWrite_;
  // A hang-up that waits for the last reply to be read: its back-after time.
  std::optional<int> hangingUp_;
  Clock::time_point hangupAsked_;

  std::thread thread_;
};

Simulator::Impl::Impl(SimulatorOptions options)
    : instruments_(1 + options.moreAddresses.size()),
      instrument_(*(instruments_[0] = std::make_unique<Instrument>())),
      device_(options.device),
      linkPath_(options.linkPath),
      updatePeriod_(std::max(1, options.updatePeriodMs)) {
  settings_.fault = options.fault;
  settings_.faultParamMs = options.faultParamMs;
  settings_.turnaroundMs = std::max(0, options.turnaroundMs);
  settings_.checkLineSpeed = options.checkLineSpeed;
  settings_.glitchByte = options.glitchByte;
  settings_.allAnswerZero = options.allAnswerZero;
  settings_.pace = options.pace;
  counted_.setSilentAfter(options.silentAfter);
  counted_.setExceptionAt(options.exceptionAt, options.exceptionCode);
  if (options.hangupAfter >= 0 && options.backAfterMs >= 0 && !canComeBack()) {
    throw std::invalid_argument("coming back after a hang-up needs a link or a device");
  }
  counted_.setHangupAfter(options.hangupAfter, options.backAfterMs);
  instrument_.setNetworkAddress(options.networkAddress);
  instrument_.setFaultWord(options.faultWord);
  if (options.heldOutputs) {
    instrument_.holdOutputs(options.heldOutputs->first, options.heldOutputs->second);
  }
  if (BitsPerSecondOfIndex(options.interfaceBaudIndex) == 0) {
    throw std::runtime_error("interface speed index outside 0..6");
  }
  instrument_.setInterfaceBaudIndex(options.interfaceBaudIndex);
  for (size_t i = 0; i < options.moreAddresses.size(); ++i) {
    auto& another = instruments_[i + 1];
    another = std::make_unique<Instrument>();
    another->setNetworkAddress(options.moreAddresses[i]);
    another->setInterfaceBaudIndex(options.interfaceBaudIndex);
    // Units of one batch: the serial numbers follow each other.
    another->setSerialNumber(instrument_.serialNumber() + static_cast<int32_t>(i) + 1);
  }
  line_ = openLine();
  devicePath_ = line_->masterPath();
  wakeFd_ = UniqueFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!wakeFd_.valid()) throw std::runtime_error(std::string("eventfd: ") + std::strerror(errno));
  thread_ = std::thread([this] { run(); });
}

Simulator::Impl::~Impl() {
  stop_ = true;
  wake();
  thread_.join();
}

std::unique_ptr<Line> Simulator::Impl::openLine() {
  if (device_.empty()) return Line::CreatePseudoTerminal(linkPath_);
  return Line::OpenDevice(device_, BitsPerSecondOfIndex(instrument_.interfaceBaudIndex()));
}

void Simulator::Impl::wake() {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(wakeFd_.get(), &one, sizeof one);
}

template <typename Apply>
void Simulator::Impl::change(const Apply& apply) {
  std::unique_lock lock(settingsMutex_);
  apply();
  const uint64_t generation = ++generation_;
  wake();
  // The limit only guards against a stalled thread; the thread answers
  // within a wake-up.
  applied_.wait_for(lock, std::chrono::seconds(5),
                    [&] { return appliedGeneration_ >= generation; });
}

void Simulator::Impl::run() {
  Clock::time_point lastUpdate = Clock::now();
  Clock::time_point nextUpdate = lastUpdate + updatePeriod_;
  while (!stop_) {
    uint64_t generation = 0;
    {
      const std::lock_guard lock(settingsMutex_);
      generation = generation_;
    }
    Clock::time_point now = Clock::now();
    if (now >= nextUpdate) {
      const auto elapsed = std::chrono::duration_cast<milliseconds>(now - lastUpdate);
      lastUpdate += elapsed;
      for (auto& instrument : instruments_) instrument->advance(elapsed);
      nextUpdate = now + updatePeriod_;
    }
    flushDueWrites(now);
    streamIfDue(now);
    hangUpIfDue(now);
    comeBackIfDue(now);
    if (!hangingUp_) {
      // A setter returns once a hang-up it asked for has happened.
      const std::lock_guard lock(settingsMutex_);
      appliedGeneration_ = generation;
    }
    applied_.notify_all();

    // Sleep until the next timed duty: the measurement update, a reply (or its
    // next character) that is due, the next piece of a stream, the line's
    // return, or until input or a wake-up arrives.
    Clock::time_point deadline = nextUpdate;
    if (!writes_.empty()) deadline = std::min(deadline, nextWriteDue());
    if (streaming_) deadline = std::min(deadline, nextStream_);
    if (backAt_) deadline = std::min(deadline, *backAt_);
    if (hangingUp_) deadline = std::min(deadline, now + kHangupCheck);
    now = Clock::now();
    const auto wait = std::max(Clock::duration::zero(), deadline - now);
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    const timespec timeout{static_cast<time_t>(ns / 1000000000),
                           static_cast<long>(ns % 1000000000)};
    const bool polled = line_ && lineAlive_;
    pollfd fds[2] = {{wakeFd_.get(), POLLIN, 0}, {polled ? line_->fd() : -1, POLLIN, 0}};
    const nfds_t count = polled ? 2 : 1;
    const int ready = ::ppoll(fds, count, &timeout, nullptr);
    if (ready <= 0) continue;
    if (fds[0].revents & POLLIN) {
      uint64_t value = 0;
      [[maybe_unused]] const ssize_t n = ::read(wakeFd_.get(), &value, sizeof value);
    }
    if (count == 2 && fds[1].revents != 0) serveInput(Clock::now());
  }
}

void Simulator::Impl::serveInput(Clock::time_point now) {
  char buffer[4096];
  const ssize_t n = ::read(line_->fd(), buffer, sizeof buffer);
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
  if (n <= 0) {
    // The far end is gone (a device unplugged); stop polling a dead descriptor.
    lineAlive_ = false;
    return;
  }
  bytesIn_ += static_cast<uint64_t>(n);
  std::vector<FrameEvent> events;
  reader_.feed(std::string_view(buffer, static_cast<std::size_t>(n)), events);
  for (const FrameEvent& e : events) {
    if (!e.good) {
      ++rejected_;
      continue;
    }
    answer(e.payload, now);
  }
}

std::vector<Instrument*> Simulator::Impl::unitsTaking(uint8_t address, bool allAnswerZero) {
  std::vector<Instrument*> units;
  if (address == 0) {
    for (auto& instrument : instruments_) {
      units.push_back(instrument.get());
      if (!allAnswerZero) break;
    }
    return units;
  }
  for (auto it = instruments_.rbegin(); it != instruments_.rend(); ++it) {
    if ((*it)->networkAddress() == address) return {it->get()};
  }
  return units;
}

void Simulator::Impl::answer(const std::string& request, Clock::time_point now) {
  const Settings s = settings();
  LoggedRequest entry = DescribeRequest(request);
  std::vector<Instrument*> units = unitsTaking(entry.address, s.allAnswerZero);
  const int lineSpeed = line_->speed();
  if (s.checkLineSpeed && line_->isPseudoTerminal()) {
    // At another speed a real instrument receives only garbage.
    const std::size_t all = units.size();
    std::erase_if(units, [&](const Instrument* unit) {
      return lineSpeed != BitsPerSecondOfIndex(unit->interfaceBaudIndex());
    });
    if (units.size() < all) ++mismatches_;
  }
  // A unit that is going away reads nothing more.
  if (hangingUp_) units.clear();
  CountedFaults::Fate fate;
  if (!units.empty()) {
    const std::lock_guard lock(settingsMutex_);
    fate = counted_.take();
  }
  if (units.empty() || fate.silent) {
    log_.add(std::move(entry));
    if (!units.empty()) requestDone();
    return;
  }

  const int pacedBps = s.pace ? lineSpeed : 0;
  // Paced, the request is complete only once its last character has crossed
  // the wire: ":", two digits a byte and two of the LRC, CR LF.
  Clock::time_point due =
      now + milliseconds(s.turnaroundMs) + WireTime(2 * request.size() + 5, pacedBps);
  const std::size_t writesBefore = writes_.size();
  for (Instrument* unit : units) {
    const std::optional<std::string> reply =
        fate.exception ? ExceptionReply(request, *fate.exception) : HandleRequest(*unit, request);
    if (!reply) continue;
    ReplyPlan plan = PlanReply(s.fault, s.faultParamMs, request, *reply);
    if (plan.silent) continue;
    if (!entry.answered) {
      const bool exception =
          (static_cast<uint8_t>((*reply)[1]) & 0x80) != 0 || s.fault == Fault::kExceptionAll;
      entry.answered = true;
      entry.how = exception ? LoggedRequest::Answer::kException : LoggedRequest::Answer::kNormal;
    }
    due += milliseconds(plan.extraDelayMs);
    if (plan.stream) {
      if (s.glitchByte) writes_.push_back({due, std::string(1, static_cast<char>(*s.glitchByte))});
      streaming_ = true;
      streamText_ = plan.first;
      streamPos_ = 0;
      nextStream_ = due;
      ++served_;
      commitSpeed();
      requestDone();
      log_.add(std::move(entry));
      return;
    }
    if (s.glitchByte) plan.first.insert(plan.first.begin(), static_cast<char>(*s.glitchByte));
    writes_.push_back({due, plan.first, false, pacedBps});
    Clock::time_point end = due + WireTime(plan.first.size(), lineSpeed);
    if (!plan.second.empty()) {
      const Clock::time_point second = end + milliseconds(plan.pauseMs);
      writes_.push_back({second, plan.second, false, pacedBps});
      end = second + WireTime(plan.second.size(), lineSpeed);
    }
    // The next unit on the line answers once this reply has ended, after its
    // own turnaround, so that replies never overlap.
    due = end + milliseconds(s.turnaroundMs);
  }
  log_.add(std::move(entry));
  if (writes_.size() == writesBefore) {
    commitSpeed();
    requestDone();
    return;
  }
  writes_.back().endsRequest = true;
  ++repliesPending_;
}

Clock::time_point Simulator::Impl::nextWriteDue() const {
  const PendingWrite& w = writes_.front();
  if (w.pacedBps == 0) return w.due;
  return w.due + WireTime(w.sent + 1, w.pacedBps);
}

void Simulator::Impl::flushDueWrites(Clock::time_point now) {
  // Replies to requests after the last one answered before a hang-up never go out.
  if (hangingUp_) return;
  while (!writes_.empty() && writes_.front().due <= now) {
    PendingWrite& w = writes_.front();
    std::size_t upTo = w.bytes.size();
    if (w.pacedBps > 0) {
      // A character reaches the master once its last bit has crossed the wire.
      const auto arrived = static_cast<std::size_t>((now - w.due) / WireTime(1, w.pacedBps));
      upTo = std::min(upTo, arrived);
    }
    const bool whole = upTo == w.bytes.size();
    if (whole && w.endsRequest) ++served_;
    if (upTo > w.sent) writeToLine(w.bytes.substr(w.sent, upTo - w.sent));
    w.sent = upTo;
    if (!whole) return;
    const bool endsRequest = w.endsRequest;
    writes_.pop_front();
    // A write queued behind this one sets out only now.
    if (!writes_.empty() && writes_.front().due < now) writes_.front().due = now;
    if (!endsRequest) continue;
    // A new interface speed comes into force once the reply has gone out.
    commitSpeed();
    --repliesPending_;
    requestDone();
  }
}

void Simulator::Impl::streamIfDue(Clock::time_point now) {
  if (!streaming_ || hangingUp_) return;
  if (settings().fault != Fault::kEndlessStream) {
    streaming_ = false;
    return;
  }
  while (nextStream_ <= now) {
    std::string piece;
    while (piece.size() < kStreamPiece) {
      piece.push_back(streamText_[streamPos_]);
      streamPos_ = (streamPos_ + 1) % streamText_.size();
    }
    writeToLine(piece);
    nextStream_ += kStreamPeriod;
    // After a stall do not burst to catch up: a stream has no pauses, not more speed.
    if (nextStream_ < now) nextStream_ = now + kStreamPeriod;
  }
}

void Simulator::Impl::writeToLine(const std::string& bytes) {
  if (!line_ || !lineAlive_) return;
  // One write: the reply reaches the master in one piece. A full queue (no
  // master reading) drops the reply, as a line without a listener would.
  const ssize_t n = ::write(line_->fd(), bytes.data(), bytes.size());
  if (n > 0) bytesOut_ += static_cast<uint64_t>(n);
  lastWrite_ = Clock::now();
}

void Simulator::Impl::commitSpeed() {
  for (auto& instrument : instruments_) {
    if (instrument->commitPendingSpeed() && line_) {
      line_->setDeviceSpeed(BitsPerSecondOfIndex(instrument->interfaceBaudIndex()));
    }
  }
}

void Simulator::Impl::requestDone() {
  const std::lock_guard lock(settingsMutex_);
  counted_.done();
}

void Simulator::Impl::hangUpIfDue(Clock::time_point now) {
  if (!hangingUp_) {
    const std::lock_guard lock(settingsMutex_);
    hangingUp_ = counted_.takeHangup();
    hangupAsked_ = now;
  }
  if (!hangingUp_) return;
  const bool read = !line_ || (line_->unreadAtFarEnd() == 0 && now - lastWrite_ >= kHangupSettle);
  if (!read && now - hangupAsked_ < kHangupLimit) return;
  hangUp(now, *hangingUp_);
  hangingUp_.reset();
}

void Simulator::Impl::hangUp(Clock::time_point now, int backAfterMs) {
  // Closing the master (and the slave kept open here) hangs up every holder of
  // the slave: its reads end, writes fail with EIO, poll reports POLLHUP. The
  // slave's node goes away with it, and the link is removed first.
  line_.reset();
  for (const PendingWrite& w : writes_) {
    if (w.endsRequest) --repliesPending_;
  }
  writes_.clear();
  streaming_ = false;
  reader_ = FrameReader();
  backAt_.reset();
  if (backAfterMs >= 0) backAt_ = now + milliseconds(backAfterMs);
}

void Simulator::Impl::comeBackIfDue(Clock::time_point now) {
  if (!backAt_ || now < *backAt_) return;
  try {
    line_ = openLine();
    lineAlive_ = true;
    backAt_.reset();
  } catch (const std::runtime_error&) {
    // The device (or the link's place) is not there yet: try again shortly.
    backAt_ = now + kRetryComeBack;
  }
}

Simulator::Simulator(SimulatorOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}
Simulator::~Simulator() = default;

const std::string& Simulator::devicePath() const { return impl_->devicePath_; }
Instrument& Simulator::instrument(size_t index) { return *impl_->instruments_.at(index); }
size_t Simulator::instrumentCount() const { return impl_->instruments_.size(); }

void Simulator::setFault(Fault fault, int paramMs) {
  impl_->change([&] {
    impl_->settings_.fault = fault;
    impl_->settings_.faultParamMs = paramMs;
  });
}

void Simulator::setTurnaround(int ms) {
  impl_->change([&] { impl_->settings_.turnaroundMs = std::max(0, ms); });
}

void Simulator::setCheckLineSpeed(bool on) {
  impl_->change([&] { impl_->settings_.checkLineSpeed = on; });
}

void Simulator::setSilentAfter(int n) {
  impl_->change([&] { impl_->counted_.setSilentAfter(n); });
}

void Simulator::setExceptionAt(int n, uint8_t code) {
  impl_->change([&] { impl_->counted_.setExceptionAt(n, code); });
}

void Simulator::setHangupAfter(int n, int backAfterMs) {
  if (n >= 0 && backAfterMs >= 0 && !impl_->canComeBack()) {
    throw std::invalid_argument("coming back after a hang-up needs a link or a device");
  }
  impl_->change([&] { impl_->counted_.setHangupAfter(n, backAfterMs); });
}

void Simulator::setGlitchByte(std::optional<uint8_t> byte) {
  impl_->change([&] { impl_->settings_.glitchByte = byte; });
}

void Simulator::setAllAnswerZero(bool on) {
  impl_->change([&] { impl_->settings_.allAnswerZero = on; });
}

void Simulator::setPace(bool on) {
  impl_->change([&] { impl_->settings_.pace = on; });
}

std::vector<LoggedRequest> Simulator::requestLog() const { return impl_->log_.entries(); }
void Simulator::clearRequestLog() { impl_->log_.clear(); }

uint64_t Simulator::requestsServed() const { return impl_->served_; }
uint64_t Simulator::framesRejected() const { return impl_->rejected_; }
uint64_t Simulator::bytesReceived() const { return impl_->bytesIn_; }
uint64_t Simulator::bytesSent() const { return impl_->bytesOut_; }
uint64_t Simulator::speedMismatches() const { return impl_->mismatches_; }
uint64_t Simulator::repliesPending() const { return impl_->repliesPending_; }

}  // namespace sim
