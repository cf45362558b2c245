#pragma once

#include <cstdint>

#include "sim/instrument.h"

namespace sim {

// The live signal: the physical quantity sweeps slowly through the middle of
// the measuring range, the cold junction drifts around room temperature, and
// the input signal follows from the physical quantity by the input type.
struct MeasurementSetup {
  float rangeStart = 0;  // in the units of the physical quantity
  float rangeEnd = 100;
  uint8_t inputType = 19;  // index of the input signal list
};

MeasuredValues LiveMeasurement(double seconds, const MeasurementSetup& setup);

// The input signal (mA, mV, V or ohm) of a physical quantity for an input type.
float InputSignalOf(float physical, float coldJunction, const MeasurementSetup& setup);

}  // namespace sim
