#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "device/current_data_block.h"

namespace trend {

// The poll reads every 2 s: an hour is 1,800 polls.
inline constexpr size_t kHourSamples = 1800;
inline constexpr int kSeriesCount = 3;
inline constexpr int kSetpointLines = 4;

// The order of the series in a sample, the legend and the file.
enum class Series { kPhysical = 0, kParameter = 1, kColdJunction = 2 };

struct Sample {
  int64_t timeMs = 0;            // PC clock at the poll, ms since the epoch (UTC)
  int32_t utcOffsetSeconds = 0;  // local time = UTC + offset at that moment
  bool answered = false;         // false: the poll got no valid reply
  std::array<float, kSeriesCount> values{};
  int16_t faultWord = 0;

  float value(Series series) const { return values[static_cast<size_t>(series)]; }
};

// The four setpoint levels in the units of the measured value; a level the
// read could not give is empty.
using SetpointLevels = std::array<std::optional<double>, kSetpointLines>;

// The polls of the last hour, oldest first: older ones are dropped as new
// ones arrive.
class TrendSamples {
 public:
  explicit TrendSamples(size_t capacity = kHourSamples) : capacity_(capacity) {}

  void addAnswer(int64_t timeMs, int32_t utcOffsetSeconds, const device::CurrentData& data);
  void addMissed(int64_t timeMs, int32_t utcOffsetSeconds);

  const std::deque<Sample>& samples() const { return samples_; }
  size_t capacity() const { return capacity_; }

  // Known once the setpoints have been read from the instrument.
  void setSetpointLevels(const SetpointLevels& levels) { setpoints_ = levels; }
  void clearSetpointLevels() { setpoints_.reset(); }
  const std::optional<SetpointLevels>& setpointLevels() const { return setpoints_; }

 private:
  void add(const Sample& sample);

  size_t capacity_;
  std::deque<Sample> samples_;
  std::optional<SetpointLevels> setpoints_;
};

}  // namespace trend
