#include "sim/measurement_model.h"

#include <cmath>
#include <numbers>

namespace sim {

namespace {

constexpr double kSweepPeriodS = 60.0;
constexpr double kDriftPeriodS = 600.0;

struct Rtd {
  float r0;
  float alpha;
};

// Resistance thermometers of the input list, linearised: R = R0 (1 + alpha T).
Rtd rtdOf(uint8_t type) {
  switch (type) {
    case 0:
      return {50, 0.00391f};
    case 1:
      return {100, 0.00391f};
    case 2:
      return {50, 0.00426f};
    case 3:
      return {100, 0.00426f};
    case 4:
      return {50, 0.00385f};
    case 5:
      return {100, 0.00385f};
    case 6:
      return {50, 0.00428f};
    case 7:
      return {100, 0.00428f};
    case 8:
      return {46, 0.00426f};
    default:
      return {53, 0.00426f};
  }
}

// Thermocouples of the input list, mean sensitivity in mV per degree.
float thermocoupleSensitivity(uint8_t type) {
  switch (type) {
    case 10:
      return 0.0064f;  // S
    case 11:
      return 0.041f;  // K
    case 12:
      return 0.066f;  // L
    case 13:
      return 0.0033f;  // B
    case 14:
      return 0.014f;  // A1
    case 15:
      return 0.052f;  // J
    default:
      return 0.027f;  // N
  }
}

}  // namespace

float InputSignalOf(float physical, float coldJunction, const MeasurementSetup& s) {
  const float span = s.rangeEnd - s.rangeStart;
  const float f = span != 0 ? (physical - s.rangeStart) / span : 0.0f;
  if (s.inputType <= 9) {
    const Rtd rtd = rtdOf(s.inputType);
    return rtd.r0 * (1 + rtd.alpha * physical);
  }
  if (s.inputType <= 16) return thermocoupleSensitivity(s.inputType) * (physical - coldJunction);
  switch (s.inputType) {
    case 17:
      return 5 * f;
    case 18:
      return 20 * f;
    case 19:
      return 4 + 16 * f;
    case 20:
      return 20 - 16 * f;
    case 21:
      return 20 * f;
    case 22:
      return 100 * f;
    case 23:
      return f;
    case 24:
      return -1 + 2 * f;
    case 25:
      return 1000 * f;
    default:
      return f;
  }
}

MeasuredValues LiveMeasurement(double seconds, const MeasurementSetup& s) {
  const double sweep = std::sin(2 * std::numbers::pi * seconds / kSweepPeriodS);
  const double drift = std::sin(2 * std::numbers::pi * seconds / kDriftPeriodS);
  MeasuredValues v;
  v.coldJunction = static_cast<float>(23.0 + 1.5 * drift);
  v.physical = static_cast<float>(s.rangeStart + (s.rangeEnd - s.rangeStart) * (0.5 + 0.4 * sweep));
  v.parameter = InputSignalOf(v.physical, v.coldJunction, s);
  return v;
}

}  // namespace sim
