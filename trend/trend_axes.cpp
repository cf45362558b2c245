#include "trend/trend_axes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "device/date_time_text.h"

namespace trend {

namespace {

constexpr int64_t kDayMs = 86'400'000;
constexpr std::array<int64_t, 11> kTimeSteps = {10'000,    15'000,    30'000,   60'000,
                                                120'000,   300'000,   600'000,  900'000,
                                                1'800'000, 3'600'000, 7'200'000};

int64_t floorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::string clockText(int64_t localMs, bool seconds) {
  const int64_t ofDay = localMs - floorDiv(localMs, kDayMs) * kDayMs;
  const auto s = static_cast<int>(ofDay / 1000);
  if (seconds) return device::TimeText(s / 3600, s / 60 % 60, s % 60);
  return device::TwoDigitText(s / 3600) + ":" + device::TwoDigitText(s / 60 % 60);
}

// 1, 2 or 5 times a power of ten, the smallest that splits `span` into at
// most `parts`.
double niceStep(double span, int parts) {
  const double raw = span / std::max(parts, 1);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= raw) return factor * power;
  }
  return 10.0 * power;
}

void widen(double& low, double& high, double value) {
  if (!std::isfinite(value)) return;
  low = std::min(low, value);
  high = std::max(high, value);
}

}  // namespace

std::string TickText(double value, int decimals, std::string_view separator) {
  if (value == 0) value = 0;  // no "-0"
  std::array<char, 400> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::fixed, decimals);
  if (error != std::errc()) return {};
  std::string text;
  for (const char* c = buffer.data(); c != end; ++c) {
    if (*c == '.')
      text += separator;
    else
      text += *c;
  }
  return text;
}

std::optional<Axis> TimeAxis(const TrendSamples& trend, int maxTicks) {
  const auto& samples = trend.samples();
  if (samples.empty()) return std::nullopt;
  // The PC clock may have been set back: the range holds every poll.
  const auto [oldest, newest] =
      std::minmax_element(samples.begin(), samples.end(),
                          [](const Sample& a, const Sample& b) { return a.timeMs < b.timeMs; });
  const int64_t first = oldest->timeMs;
  const int64_t last = std::max(newest->timeMs, first + kMinimumSpanMs);
  const int64_t offsetMs = int64_t{samples.back().utcOffsetSeconds} * 1000;

  int64_t step = kTimeSteps.back();
  for (const int64_t candidate : kTimeSteps) {
    if ((last - first) / candidate <= std::max(maxTicks, 1)) {
      step = candidate;
      break;
    }
  }
  Axis axis{static_cast<double>(first), static_cast<double>(last), {}};
  for (int64_t local = (floorDiv(first + offsetMs - 1, step) + 1) * step; local - offsetMs <= last;
       local += step) {
    axis.ticks.push_back({static_cast<double>(local - offsetMs), clockText(local, step < 60'000)});
  }
  return axis;
}

std::optional<Axis> ValueAxis(const TrendSamples& trend, Series series, int maxTicks,
                              std::string_view separator) {
  double low = INFINITY;
  double high = -INFINITY;
  for (const Sample& sample : trend.samples()) {
    if (sample.answered) widen(low, high, sample.value(series));
  }
  if (const auto& levels = trend.setpointLevels(); levels && series == Series::kPhysical) {
    for (const auto& level : *levels) {
      if (level) widen(low, high, *level);
    }
  }
  if (low > high) return std::nullopt;
  if (high - low < std::max(std::abs(high), 1.0) * 1e-9) {
    const double margin = std::max(std::abs(high) * 0.01, 1.0);
    low -= margin;
    high += margin;
  }
  const double step = niceStep(high - low, maxTicks);
  Axis axis{std::floor(low / step) * step, std::ceil(high / step) * step, {}};
  if (!std::isfinite(axis.low) || !std::isfinite(axis.high) || !(step > 0)) return std::nullopt;
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step))));
  const auto count = static_cast<int>(std::llround((axis.high - axis.low) / step));
  for (int n = 0; n <= count; ++n) {
    const double at = axis.low + n * step;
    axis.ticks.push_back({at, TickText(at, decimals, separator)});
  }
  return axis;
}

}  // namespace trend
