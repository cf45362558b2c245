// The exchange on real time: SteadyTick and BlockingEventPump, with the reply
// delivered by another thread, as the serial port's own threads deliver it.

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "modbus/blocking_event_pump.h"
#include "modbus/frame_codec.h"
#include "modbus/requests.h"
#include "modbus/steady_tick.h"

namespace modbus {
namespace {

// A port whose far end runs on its own thread: a write wakes it, it answers
// in two pieces and posts a notification to the pump for each.
class ThreadedPort : public PortInterface {
 public:
  ThreadedPort(BlockingEventPump& pump, ByteString reply)
      : pump_(pump), reply_(std::move(reply)), device_([this] { serve(); }) {}
  ~ThreadedPort() override {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    device_.join();
  }

  void Close() override {
    std::lock_guard lock(mutex_);
    open_ = false;
    input_.clear();
  }
  void SetComNumber(uint16_t) override {}
  void SetBaudRate(uint32_t) override {}
  void Open() override {
    std::lock_guard lock(mutex_);
    open_ = true;
  }
  void WriteString(const ByteString&) override {
    {
      std::lock_guard lock(mutex_);
      requested_ = true;
    }
    wake_.notify_one();
  }
  int32_t InBufUsed() override {
    std::lock_guard lock(mutex_);
    return open_ ? static_cast<int32_t>(input_.size()) : 0;
  }
  ByteString ReadString() override {
    std::lock_guard lock(mutex_);
    return std::exchange(input_, {});
  }

  std::atomic<int> notificationsServed = 0;

 private:
  void serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || requested_; });
      if (stop_) return;
      requested_ = false;
      const std::size_t half = reply_.size() / 2;
      for (const ByteString& piece : {reply_.substr(0, half), reply_.substr(half)}) {
        if (open_) input_ += piece;
        pump_.Post([this] { ++notificationsServed; });
      }
    }
  }

  BlockingEventPump& pump_;
  const ByteString reply_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool open_ = false;
  bool requested_ = false;
  bool stop_ = false;
  ByteString input_;
  std::thread device_;
};

class CountingPump : public EventPump {
 public:
  explicit CountingPump(EventPump& inner) : inner_(inner) {}
  void ProcessEvents(std::chrono::microseconds maxWait) override {
    ++calls;
    inner_.ProcessEvents(maxWait);
  }
  int calls = 0;

 private:
  EventPump& inner_;
};

const ByteString kReply{'\x00', '\x03', '\x02', '\x12', '\x34'};

TEST(LiveExchange, ReplyFromAnotherThreadIsTakenAndItsNotificationsServed) {
  BlockingEventPump pump;
  ThreadedPort port(pump, BuildFrame(kReply));
  // Half a second of response delay is far more than the far end needs to answer.
  SteadyTick tick;
  const LinkServices link{port, tick, pump, nullptr};
  EXPECT_EQ(ReadHoldingRegisters(link, 1, 2, {1000, 500, 20}, 0, 0, 1), kReply);
  EXPECT_EQ(port.notificationsServed, 2);
}

TEST(LiveExchange, ScaledTickKeepsThePumpsWaitsInStep) {
  BlockingEventPump pump;
  CountingPump counting(pump);
  ThreadedPort port(pump, BuildFrame(kReply));
  // 1000 tick ms at scale 10: the pump blocks about 100 ms real, in one go.
  // Waits that were not divided by the scale would block ten times longer; waits
  // divided twice would need many passes.
  SteadyTick tick(10);
  const LinkServices link{port, tick, counting, nullptr};
  EXPECT_EQ(ReadHoldingRegisters(link, 1, 2, {1000, 1000, 50}, 0, 0, 1), kReply);
  // Response delay, the two notifications, one check period; a little slack
  // for a wait ending just before the tick turns over.
  EXPECT_LE(counting.calls, 8);
}

}  // namespace
}  // namespace modbus
