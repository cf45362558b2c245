#include "modbus/blocking_event_pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace modbus {
namespace {

using std::chrono::microseconds;

TEST(BlockingEventPump, RunsWhatIsPendingInOrderAndLeavesLaterPostsForTheNextCall) {
  BlockingEventPump pump;
  std::vector<int> order;
  pump.Post([&] { order.push_back(1); });
  pump.Post([&] {
    order.push_back(2);
    pump.Post([&] { order.push_back(3); });
  });
  pump.ProcessEvents(microseconds(0));
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  pump.ProcessEvents(microseconds(0));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(BlockingEventPump, EventFromAnotherThreadEndsALongWait) {
  BlockingEventPump pump;
  std::atomic<bool> ran = false;
  std::thread poster([&] { pump.Post([&] { ran = true; }); });
  // A lost wake-up would leave this blocked for minutes.
  while (!ran) pump.ProcessEvents(std::chrono::minutes(10));
  poster.join();
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace modbus
