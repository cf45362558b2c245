#pragma once

#include <cstdint>

namespace sim {

// Bits of a setpoint's flags byte (HR13.. records, offset 8).
namespace setpoint_flag {
constexpr uint8_t kGreater = 0x01;  // clear: "less than"
constexpr uint8_t kRate = 0x02;     // clear: compares the value, set: its rate
constexpr uint8_t kRelayStartClosed = 0x04;
constexpr uint8_t kRelayBreakClosed = 0x08;
constexpr uint8_t kEnabled = 0x10;
}  // namespace setpoint_flag

struct SetpointConfig {
  float threshold = 0;  // in the units of the measured value
  float returnZone = 0;
  uint8_t flags = 0;
};

// Next state of a setpoint. A "greater" setpoint becomes active above its
// threshold and drops out only below threshold - zone; a "less" one mirrors
// that. `input` is the measured value, or its rate per second for a rate setpoint.
bool NextSetpointState(bool active, const SetpointConfig& config, float input);

// A relay follows its setpoint, inverted when its initial state is "closed";
// on a sensor break it takes its on-break state. The relay of a disabled
// setpoint keeps `held` (its initial state, or what a coil write set).
bool RelayClosed(bool setpointActive, uint8_t flags, bool sensorBreak, bool held);

}  // namespace sim
