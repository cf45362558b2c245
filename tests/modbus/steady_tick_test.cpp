#include "modbus/steady_tick.h"

#include <gtest/gtest.h>

#include <chrono>

namespace modbus {
namespace {

int32_t ticksBetween(uint32_t from, uint32_t to) { return static_cast<int32_t>(to - from); }

TEST(SteadyTick, StartsAtTheGivenTickAndWrapsWithoutGoingBack) {
  // Scale 1000 crosses the wrap within a fraction of a real millisecond.
  const uint32_t start = 0xFFFFFFFFu - 200;
  SteadyTick tick(1000, start);
  uint32_t previous = tick.Tick();
  EXPECT_LT(ticksBetween(start, previous), 150'000);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (ticksBetween(start, previous) < 1000 && std::chrono::steady_clock::now() < deadline) {
    const uint32_t t = tick.Tick();
    ASSERT_GE(ticksBetween(previous, t), 0);
    previous = t;
  }
  EXPECT_GE(ticksBetween(start, previous), 1000);
  EXPECT_LT(previous, start);  // past 2^32
}

TEST(SteadyTick, RealDurationIsDividedByTheScaleAndRoundedUp) {
  SteadyTick plain;
  EXPECT_EQ(plain.RealDuration(2000), std::chrono::milliseconds(2000));
  SteadyTick ten(10);
  EXPECT_EQ(ten.RealDuration(2000), std::chrono::milliseconds(200));
  SteadyTick three(3, 0);
  EXPECT_EQ(three.RealDuration(1), std::chrono::microseconds(334));
  EXPECT_EQ(three.RealDuration(0), std::chrono::microseconds(0));
  EXPECT_EQ(three.RealDuration(-5), std::chrono::microseconds(0));
  EXPECT_EQ(SteadyTick(0).RealDuration(7), std::chrono::milliseconds(7));  // scale 0 taken as 1
}

}  // namespace
}  // namespace modbus
