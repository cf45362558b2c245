#include "sim/setpoint_logic.h"

namespace sim {

bool NextSetpointState(bool active, const SetpointConfig& c, float input) {
  if ((c.flags & setpoint_flag::kEnabled) == 0) return false;
  // A negative zone would make the setpoint chatter; it counts as none.
  const float zone = c.returnZone > 0 ? c.returnZone : 0.0f;
  if (c.flags & setpoint_flag::kGreater) {
    if (active) return input >= c.threshold - zone;
    return input > c.threshold;
  }
  if (active) return input <= c.threshold + zone;
  return input < c.threshold;
}

bool RelayClosed(bool setpointActive, uint8_t flags, bool sensorBreak, bool held) {
  if ((flags & setpoint_flag::kEnabled) == 0) return held;
  if (sensorBreak) return (flags & setpoint_flag::kRelayBreakClosed) != 0;
  const bool startClosed = (flags & setpoint_flag::kRelayStartClosed) != 0;
  return setpointActive != startClosed;
}

}  // namespace sim
