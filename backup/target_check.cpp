#include "backup/target_check.h"

namespace backup {

Target TargetOf(const device::IdentificationBlock& backup,
                const device::IdentificationBlock& instrument) {
  if (backup.typeCode != instrument.typeCode) return Target::kOtherType;
  return backup.serial == instrument.serial ? Target::kSameUnit : Target::kOtherUnit;
}

bool WithholdCalibration(std::vector<PlannedWrite>& plan) {
  return std::erase_if(plan, [](const PlannedWrite& p) { return p.block == Block::kCalibration; }) >
         0;
}

}  // namespace backup
