#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "trend/trend_samples.h"

namespace trend {

struct Tick {
  double at = 0;  // a value, or ms since the epoch on the time axis
  std::string label;
  bool operator==(const Tick&) const = default;
};

struct Axis {
  double low = 0;
  double high = 1;
  std::vector<Tick> ticks;
};

// The shortest time axis: a few first polls do not stretch over the width.
inline constexpr int64_t kMinimumSpanMs = 60'000;

// From the oldest poll to the newest, at least kMinimumSpanMs; ticks on whole
// multiples of 10 s to 1 h of local time, labelled "hh:mm" (or "hh:mm:ss"
// below a minute's step) in the offset of the newest poll. Empty without
// samples.
std::optional<Axis> TimeAxis(const TrendSamples& trend, int maxTicks);

// The scale of one series: a range over its finite values in every answered
// poll (for the measured quantity also the setpoint levels, which are in its
// units), widened to whole steps of 1, 2 or 5 times a power of ten, with at
// most about `maxTicks` ticks written with `separator` as the decimal
// separator and as many decimals as the step needs. A flat trend gets a range
// around its value. Empty when there is no finite value.
std::optional<Axis> ValueAxis(const TrendSamples& trend, Series series, int maxTicks,
                              std::string_view separator);

// `value` in fixed notation with `decimals` decimals and `separator`.
std::string TickText(double value, int decimals, std::string_view separator);

}  // namespace trend
