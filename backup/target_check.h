#pragma once

#include <vector>

#include "backup/write_plan.h"
#include "device/identification_block.h"

namespace backup {

// Which instrument a backup may go to.
enum class Target {
  kSameUnit,   // its serial number: everything may be written
  kOtherUnit,  // another unit of the type: its calibration coefficients belong to the
               // unit the backup was made of and are left out unless asked for
  kOtherType,  // another instrument type: nothing may be written
};

Target TargetOf(const device::IdentificationBlock& backup,
                const device::IdentificationBlock& instrument);

// The plan without the writes of the calibration coefficients; true when
// there were any.
bool WithholdCalibration(std::vector<PlannedWrite>& plan);

}  // namespace backup
