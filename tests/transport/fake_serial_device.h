#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "transport/serial_device.h"

namespace transport::testing {

// A device whose line waits and writes the test drives step by step: a line
// wait returns only when the test fires an event or a tick (or something
// wakes it), and writes can be held until released. Records what the core
// asked of it.
class FakeSerialDevice : public SerialDevice {
 public:
  struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    // configuration
    OpenResult openResult;
    bool timeoutsOk = true, queuesOk = true, maskOk = true, parametersOk = true;
    DCB deviceBlock{};  // what the device reports it has
    DCB foundBlock{};   // what it had when it was opened
    int32_t inQue = 0;
    uint32_t errors = 0;  // CE_* bits every status query reports
    bool holdWrites = false;
    bool failWrites = false;
    // script
    std::deque<LineWait> lineWaits;
    int releasedWrites = 0;
    // record
    bool open = false;
    std::string openedPath;
    std::vector<uint32_t> masks;
    std::vector<uint32_t> purges;
    std::vector<std::string> writes;  // every write the device was handed
    std::vector<std::chrono::milliseconds> waitTimeouts;
    int linewaitsBlocked = 0;  // waits currently blocked
    int wakeUps = 0;
    int closeCount = 0;
  };

  explicit FakeSerialDevice(Shared& shared) : s_(shared) {}

  OpenResult open(const std::string& path) override {
    std::lock_guard lock(s_.mutex);
    s_.openedPath = path;
    s_.open = s_.openResult.ok();
    if (s_.open) s_.foundBlock = s_.deviceBlock;
    return s_.openResult;
  }
  bool isOpen() const override {
    std::lock_guard lock(s_.mutex);
    return s_.open;
  }
  void close() override {
    std::lock_guard lock(s_.mutex);
    if (s_.open) ++s_.closeCount;
    s_.open = false;
  }
  bool setTimeouts() override { return get(s_.timeoutsOk); }
  bool setupQueues(int32_t, int32_t) override { return get(s_.queuesOk); }
  bool setEventMask(uint32_t mask) override {
    std::lock_guard lock(s_.mutex);
    s_.masks.push_back(mask);
    s_.changed.notify_all();
    return s_.maskOk;
  }
  bool setLineParameters(const DCB& dcb) override {
    std::lock_guard lock(s_.mutex);
    if (s_.parametersOk) s_.deviceBlock = dcb;
    return s_.parametersOk;
  }
  bool getLineParameters(DCB& dcb) override {
    std::lock_guard lock(s_.mutex);
    dcb = s_.deviceBlock;
    return true;
  }
  void restoreFoundSettings() override {
    std::lock_guard lock(s_.mutex);
    s_.deviceBlock = s_.foundBlock;
  }
  bool purge(uint32_t actions) override {
    std::lock_guard lock(s_.mutex);
    s_.purges.push_back(actions);
    return true;
  }
  bool queueStatus(QueueStatus& status) override {
    std::lock_guard lock(s_.mutex);
    status = {s_.errors, s_.inQue, 0};
    return true;
  }
  int32_t read(char* buffer, int32_t count) override {
    std::lock_guard lock(s_.mutex);
    const int32_t n = std::min(count, s_.inQue);
    for (int32_t i = 0; i < n; ++i) buffer[i] = 'x';
    s_.inQue -= n;
    return n;
  }
  bool escapeFunction(EscapeFunction) override { return false; }

  LineWait waitLineEvent(std::chrono::milliseconds timeout) override {
    std::unique_lock lock(s_.mutex);
    s_.waitTimeouts.push_back(timeout);
    ++s_.linewaitsBlocked;
    s_.changed.notify_all();
    s_.changed.wait(lock, [&] { return !s_.lineWaits.empty() || woken_ || timeout.count() == 0; });
    --s_.linewaitsBlocked;
    if (woken_) {
      woken_ = false;
      return {LineWait::Kind::kWoken, 0};
    }
    if (s_.lineWaits.empty()) return {LineWait::Kind::kTimeout, 0};
    LineWait next = s_.lineWaits.front();
    s_.lineWaits.pop_front();
    return next;
  }
  void wakeLineWait() override {
    std::lock_guard lock(s_.mutex);
    woken_ = true;
    ++s_.wakeUps;
    s_.changed.notify_all();
  }

  WriteStatus write(const char* data, int32_t count, int32_t& written) override {
    std::unique_lock lock(s_.mutex);
    s_.writes.emplace_back(data, static_cast<size_t>(count));
    const size_t index = s_.writes.size();
    s_.changed.notify_all();
    s_.changed.wait(lock, [&] {
      return !s_.holdWrites || s_.releasedWrites >= static_cast<int>(index) || writerWoken_;
    });
    if (writerWoken_ && s_.holdWrites && s_.releasedWrites < static_cast<int>(index)) {
      writerWoken_ = false;
      written = 0;
      return WriteStatus::kInterrupted;
    }
    written = s_.failWrites ? 0 : count;
    return s_.failWrites ? WriteStatus::kFailed : WriteStatus::kDone;
  }
  // Everything goes through the write thread, whose steps the tests drive.
  int32_t writeNow(const char*, int32_t) override { return 0; }
  void wakeWriter() override {
    std::lock_guard lock(s_.mutex);
    writerWoken_ = true;
    s_.changed.notify_all();
  }

 private:
  bool get(const bool& flag) {
    std::lock_guard lock(s_.mutex);
    return flag;
  }

  Shared& s_;
  bool woken_ = false;
  bool writerWoken_ = false;
};

// Waits (generously) until pred holds under the shared lock.
template <typename Pred>
bool waitFor(FakeSerialDevice::Shared& s, Pred pred,
             std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  std::unique_lock lock(s.mutex);
  return s.changed.wait_for(lock, limit, pred);
}

}  // namespace transport::testing
