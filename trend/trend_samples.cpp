#include "trend/trend_samples.h"

namespace trend {

void TrendSamples::addAnswer(int64_t timeMs, int32_t utcOffsetSeconds,
                             const device::CurrentData& data) {
  Sample sample{timeMs, utcOffsetSeconds, true, {}, data.faultWord};
  sample.values[static_cast<size_t>(Series::kPhysical)] = data.physical;
  sample.values[static_cast<size_t>(Series::kParameter)] = data.parameter;
  sample.values[static_cast<size_t>(Series::kColdJunction)] = data.coldJunction;
  add(sample);
}

void TrendSamples::addMissed(int64_t timeMs, int32_t utcOffsetSeconds) {
  add(Sample{timeMs, utcOffsetSeconds, false, {}, 0});
}

void TrendSamples::add(const Sample& sample) {
  if (capacity_ == 0) return;
  while (samples_.size() >= capacity_) samples_.pop_front();
  samples_.push_back(sample);
}

}  // namespace trend
