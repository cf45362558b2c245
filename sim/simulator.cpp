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
#include <stdexcept>
#include <thread>

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

}  // namespace

class Simulator::Impl {
 public:
  explicit Impl(SimulatorOptions options);
  ~Impl();

  void run();
  void wake();
  void serveInput(Clock::time_point now);
  void answer(const std::string& request, Clock::time_point now);
  void flushDueWrites(Clock::time_point now);
  void streamIfDue(Clock::time_point now);
  void writeToLine(const std::string& bytes);
  void commitSpeed();

  struct Settings {
    Fault fault = Fault::kNone;
    int faultParamMs = 0;
    int turnaroundMs = 0;
    bool checkLineSpeed = true;
  };
  Settings settings() const {
    const std::lock_guard lock(settingsMutex_);
    return settings_;
  }

  struct PendingWrite {
    Clock::time_point due;
    std::string bytes;
    bool lastPart = false;
  };

  // One instrument per address on the line; the first also answers address 0.
  std::vector<std::unique_ptr<Instrument>> instruments_;
  Instrument& instrument_;
  std::unique_ptr<Line> line_;
  UniqueFd wakeFd_;
  milliseconds updatePeriod_;

  mutable std::mutex settingsMutex_;
  Settings settings_;
  // setFault waits until the serving thread has run with the new settings.
  uint64_t generation_ = 0;
  uint64_t appliedGeneration_ = 0;
  std::condition_variable applied_;
  std::atomic<uint64_t> repliesPending_{0};

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

  std::thread thread_;
};

Simulator::Impl::Impl(SimulatorOptions options)
    : instruments_(1 + options.moreAddresses.size()),
      instrument_(*(instruments_[0] = std::make_unique<Instrument>())),
      updatePeriod_(std::max(1, options.updatePeriodMs)) {
  settings_.fault = options.fault;
  settings_.faultParamMs = options.faultParamMs;
  settings_.turnaroundMs = std::max(0, options.turnaroundMs);
  settings_.checkLineSpeed = options.checkLineSpeed;
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
  if (options.device.empty()) {
    line_ = Line::CreatePseudoTerminal(options.linkPath);
  } else {
    line_ = Line::OpenDevice(options.device, BitsPerSecondOfIndex(options.interfaceBaudIndex));
  }
  wakeFd_ = UniqueFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  if (!wakeFd_.valid()) throw std::runtime_error(std::string("eventfd: ") + std::strerror(errno));
  thread_ = std::thread([this] { run(); });
}

Simulator::Impl::~Impl() {
  stop_ = true;
  wake();
  thread_.join();
}

void Simulator::Impl::wake() {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(wakeFd_.get(), &one, sizeof one);
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
    {
      const std::lock_guard lock(settingsMutex_);
      appliedGeneration_ = generation;
    }
    applied_.notify_all();

    // Sleep until the next timed duty: the measurement update, a reply that is
    // due, the next piece of a stream, or until input or a wake-up arrives.
    Clock::time_point deadline = nextUpdate;
    if (!writes_.empty()) deadline = std::min(deadline, writes_.front().due);
    if (streaming_) deadline = std::min(deadline, nextStream_);
    now = Clock::now();
    const auto wait = std::max(Clock::duration::zero(), deadline - now);
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    const timespec timeout{static_cast<time_t>(ns / 1000000000),
                           static_cast<long>(ns % 1000000000)};
    pollfd fds[2] = {{wakeFd_.get(), POLLIN, 0}, {line_->fd(), POLLIN, 0}};
    const nfds_t count = lineAlive_ ? 2 : 1;
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

void Simulator::Impl::answer(const std::string& request, Clock::time_point now) {
  const Settings s = settings();
  Instrument* addressed = &instrument_;
  const auto address = request.empty() ? 0 : static_cast<uint8_t>(request[0]);
  for (auto& instrument : instruments_) {
    if (address != 0 && instrument->networkAddress() == address) addressed = instrument.get();
  }
  if (s.checkLineSpeed && line_->isPseudoTerminal() &&
      line_->speed() != BitsPerSecondOfIndex(addressed->interfaceBaudIndex())) {
    // At another speed a real instrument receives only garbage.
    ++mismatches_;
    return;
  }
  const std::optional<std::string> reply = HandleRequest(*addressed, request);
  if (!reply) return;
  const ReplyPlan plan = PlanReply(s.fault, s.faultParamMs, request, *reply);
  if (plan.silent) {
    commitSpeed();
    return;
  }
  const Clock::time_point due = now + milliseconds(s.turnaroundMs + plan.extraDelayMs);
  if (plan.stream) {
    streaming_ = true;
    streamText_ = plan.first;
    streamPos_ = 0;
    nextStream_ = due;
    ++served_;
    commitSpeed();
    return;
  }
  ++repliesPending_;
  if (plan.second.empty()) {
    writes_.push_back({due, plan.first, true});
  } else {
    writes_.push_back({due, plan.first, false});
    writes_.push_back({due + milliseconds(plan.pauseMs), plan.second, true});
  }
}

void Simulator::Impl::flushDueWrites(Clock::time_point now) {
  while (!writes_.empty() && writes_.front().due <= now) {
    const PendingWrite w = std::move(writes_.front());
    writes_.pop_front();
    if (w.lastPart) ++served_;
    writeToLine(w.bytes);
    if (!w.lastPart) continue;
    // A new interface speed comes into force once the reply has gone out.
    commitSpeed();
    --repliesPending_;
  }
}

void Simulator::Impl::streamIfDue(Clock::time_point now) {
  if (!streaming_) return;
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
  if (!lineAlive_) return;
  // One write: the reply reaches the master in one piece. A full queue (no
  // master reading) drops the reply, as a line without a listener would.
  const ssize_t n = ::write(line_->fd(), bytes.data(), bytes.size());
  if (n > 0) bytesOut_ += static_cast<uint64_t>(n);
}

void Simulator::Impl::commitSpeed() {
  for (auto& instrument : instruments_) {
    if (instrument->commitPendingSpeed()) {
      line_->setDeviceSpeed(BitsPerSecondOfIndex(instrument->interfaceBaudIndex()));
    }
  }
}

Simulator::Simulator(SimulatorOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}
Simulator::~Simulator() = default;

const std::string& Simulator::devicePath() const { return impl_->line_->masterPath(); }
Instrument& Simulator::instrument(size_t index) { return *impl_->instruments_.at(index); }
size_t Simulator::instrumentCount() const { return impl_->instruments_.size(); }

void Simulator::setFault(Fault fault, int paramMs) {
  std::unique_lock lock(impl_->settingsMutex_);
  impl_->settings_.fault = fault;
  impl_->settings_.faultParamMs = paramMs;
  const uint64_t generation = ++impl_->generation_;
  impl_->wake();
  // Once this returns no piece of a stopped stream follows. The limit only
  // guards against a stalled thread; the thread answers within a wake-up.
  impl_->applied_.wait_for(lock, std::chrono::seconds(5),
                           [&] { return impl_->appliedGeneration_ >= generation; });
}

void Simulator::setTurnaround(int ms) {
  const std::lock_guard lock(impl_->settingsMutex_);
  impl_->settings_.turnaroundMs = std::max(0, ms);
}

void Simulator::setCheckLineSpeed(bool on) {
  const std::lock_guard lock(impl_->settingsMutex_);
  impl_->settings_.checkLineSpeed = on;
}

uint64_t Simulator::requestsServed() const { return impl_->served_; }
uint64_t Simulator::framesRejected() const { return impl_->rejected_; }
uint64_t Simulator::bytesReceived() const { return impl_->bytesIn_; }
uint64_t Simulator::bytesSent() const { return impl_->bytesOut_; }
uint64_t Simulator::speedMismatches() const { return impl_->mismatches_; }
uint64_t Simulator::repliesPending() const { return impl_->repliesPending_; }

}  // namespace sim
