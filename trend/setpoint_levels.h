#pragma once

#include <string>
#include <vector>

#include "device/setpoints.h"
#include "trend/trend_samples.h"

namespace trend {

// The four setpoints as the page "Уставки" shows them after a read ("012.3"
// under the point of its code, or the whole count without a mask), in the
// units of the measured value. A setpoint not switched on ("Включить") is no
// threshold and gives no level, nor does a field that holds no number.
SetpointLevels SetpointLevelsOf(const device::SetpointsForm& form);

// A level drawn with its label: the setpoints at it by number, "У1" or,
// where several are equal, "У1, У2".
struct SetpointMark {
  double level = 0;
  std::string label;
  bool operator==(const SetpointMark&) const = default;
};

// One mark per distinct level, in the order of their first setpoint.
std::vector<SetpointMark> SetpointMarks(const SetpointLevels& levels);

}  // namespace trend
