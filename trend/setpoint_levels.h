#pragma once

#include "device/setpoints.h"
#include "trend/trend_samples.h"

namespace trend {

// The four setpoints as the page "Уставки" shows them after a read ("012.3"
// under the point of its code, or the whole count without a mask), in the
// units of the measured value. A field that holds no number gives no level.
SetpointLevels SetpointLevelsOf(const device::SetpointsForm& form);

}  // namespace trend
