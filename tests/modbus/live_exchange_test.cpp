// The exchange on real time: SteadyTick and BlockingEventPump.

#include <gtest/gtest.h>

#include <thread>

#include "modbus/blocking_event_pump.h"
#include "modbus/exchange.h"
#include "modbus/frame_codec.h"
#include "modbus/steady_tick.h"

namespace modbus {
namespace {

// Answers the moment it is written; a far-end thread posts a notification
// to the pump meanwhile, as the serial port's own threads do.
class AnsweringPort : public PortInterface {
 public:
  AnsweringPort(BlockingEventPump& pump, ByteString reply) : pump_(pump), reply_(reply) {}
  ~AnsweringPort() override {
    if (notifier_.joinable()) notifier_.join();
  }
  void Close() override { input_.clear(); }
  void SetComNumber(uint16_t) override {}
  void SetBaudRate(uint32_t) override {}
  void Open() override {}
  void WriteString(const ByteString&) override {
    input_ = reply_;
    notifier_ = std::thread([this] { pump_.Post([this] { ++notificationsServed; }); });
  }
  int32_t InBufUsed() override { return static_cast<int32_t>(input_.size()); }
  ByteString ReadString() override { return std::exchange(input_, {}); }

  int notificationsServed = 0;

 private:
  BlockingEventPump& pump_;
  ByteString reply_;
  ByteString input_;
  std::thread notifier_;
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

TEST(LiveExchange, ScaledTickKeepsThePumpsWaitsInStep) {
  const ByteString reply{'\x00', '\x03', '\x02', '\x12', '\x34'};
  BlockingEventPump pump;
  CountingPump counting(pump);
  AnsweringPort port(pump, BuildFrame(reply));
  // 1000 tick ms at scale 10 block about 100 ms real. Waits not divided by the
  // scale would block ten times longer; waits divided twice would need many
  // passes. The notification is served during the response delay.
  SteadyTick tick(10);
  const LinkServices link{port, tick, counting, nullptr};
  EXPECT_EQ(Exchange(link, 1, 2, {1000, 1000, 50}, ByteString(6, 0)), reply);
  EXPECT_EQ(port.notificationsServed, 1);
  // Response delay, the notification, one check period, and slack for a wait
  // that ends just before the tick turns over.
  EXPECT_LE(counting.calls, 6);
}

}  // namespace
}  // namespace modbus
