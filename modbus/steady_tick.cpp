#include "modbus/steady_tick.h"

#include <algorithm>

namespace modbus {

namespace {

uint32_t truncatedSteadyMs(std::chrono::steady_clock::time_point t) {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
  return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

}  // namespace

SteadyTick::SteadyTick(uint32_t scale)
    : origin_(std::chrono::steady_clock::now()),
      scale_(std::max<uint32_t>(scale, 1)),
      startTick_(truncatedSteadyMs(origin_)) {}

SteadyTick::SteadyTick(uint32_t scale, uint32_t startTick)
    : origin_(std::chrono::steady_clock::now()),
      scale_(std::max<uint32_t>(scale, 1)),
      startTick_(startTick) {}

uint32_t SteadyTick::Tick() {
  const auto elapsedUs = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - origin_)
                             .count();
  const uint64_t scaledMs = static_cast<uint64_t>(elapsedUs) * scale_ / 1000;
  // Modulo 2^32: the tick wraps like the platform counter it stands for.
  return static_cast<uint32_t>(startTick_ + scaledMs);
}

std::chrono::microseconds SteadyTick::RealDuration(int32_t tickMs) {
  if (tickMs <= 0) return std::chrono::microseconds(0);
  const int64_t tickUs = int64_t{tickMs} * 1000;
  return std::chrono::microseconds((tickUs + scale_ - 1) / scale_);
}

}  // namespace modbus
