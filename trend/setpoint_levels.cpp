#include "trend/setpoint_levels.h"

#include "device/decimal_separator.h"
#include "device/number_parsing.h"

namespace trend {

SetpointLevels SetpointLevelsOf(const device::SetpointsForm& form) {
  SetpointLevels levels;
  for (size_t n = 0; n < levels.size(); ++n) {
    // The field's point is the mask's, whatever the locale.
    const std::string text = device::NormalizeDecimalSeparator(form.setpoints[n].value, ".");
    levels[n] = device::ParseDecimal(text, ".");
  }
  return levels;
}

}  // namespace trend
