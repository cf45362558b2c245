#include "device/write_block_names.h"

#include "device/calibration_coefficient_blocks.h"
#include "device/calibration_coefficients.h"
#include "device/general_settings_block.h"
#include "device/setpoint_blocks.h"

namespace device {

std::string WriteBlockNameAt(int32_t start) {
  if (start == kLinkSettingsStart) return kLinkSettingsWriteName;
  if (start == kPeriodsStart) return kPeriodsWriteName;
  if (start == kSwitchesStart) return kSwitchesWriteName;
  if (start == kPointStart) return kPointWriteName;
  if (start == kRangesStart) return kRangesWriteName;
  for (size_t pair = 0; pair < kSetpointBlockStarts.size(); ++pair) {
    if (start == kSetpointBlockStarts[pair]) return kSetpointPairWriteNames[pair];
  }
  for (const CoefficientBlock& block : kCoefficientBlocks) {
    if (start == block.start) return CoefficientBlockName(block.group);
  }
  return {};
}

}  // namespace device
