#include "trend/setpoint_levels.h"

#include <algorithm>

#include "device/decimal_separator.h"
#include "device/number_parsing.h"

namespace trend {

SetpointLevels SetpointLevelsOf(const device::SetpointsForm& form) {
  SetpointLevels levels;
  for (size_t n = 0; n < levels.size(); ++n) {
    if (!form.setpoints[n].enabled) continue;
    // The field's point is the mask's, whatever the locale.
    const std::string text = device::NormalizeDecimalSeparator(form.setpoints[n].value, ".");
    levels[n] = device::ParseDecimal(text, ".");
  }
  return levels;
}

std::vector<SetpointMark> SetpointMarks(const SetpointLevels& levels) {
  std::vector<SetpointMark> marks;
  for (size_t n = 0; n < levels.size(); ++n) {
    if (!levels[n]) continue;
    const std::string name = "У" + std::to_string(n + 1);
    auto same = std::find_if(marks.begin(), marks.end(),
                             [&](const SetpointMark& mark) { return mark.level == *levels[n]; });
    if (same != marks.end())
      same->label += ", " + name;
    else
      marks.push_back({*levels[n], name});
  }
  return marks;
}

}  // namespace trend
