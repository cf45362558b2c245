// The exchange on real time: SteadyTick and BlockingEventPump.

#include <gtest/gtest.h>

#include <thread>

#include "immediate_port.h"
#include "modbus/blocking_event_pump.h"
#include "modbus/exchange.h"
#include "modbus/frame_codec.h"
#include "modbus/steady_tick.h"

namespace modbus {
namespace {

// Posts a notification from a far-end thread when written, as the serial
// port's own threads do.
class NotifyingPort : public testing::ImmediatePort {
 public:
  NotifyingPort(BlockingEventPump& pump, ByteString reply)
      : ImmediatePort(std::move(reply)), pump_(pump) {}
  ~NotifyingPort() override {
    if (notifier_.joinable()) notifier_.join();
  }
  void WriteString(const ByteString& text) override {
    ImmediatePort::WriteString(text);
    notifier_ = std::thread([this] { pump_.Post([this] { ++notificationsServed; }); });
  }

  int notificationsServed = 0;

 private:
  BlockingEventPump& pump_;
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
  NotifyingPort port(pump, BuildFrame(reply));
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
