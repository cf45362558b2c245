#include "backup/configuration_comparison.h"

namespace backup {

std::vector<const BackupField*> DifferingFields(const Configuration& one,
                                                const Configuration& other) {
  std::vector<const BackupField*> differing;
  for (const BackupField& field : BackupFields()) {
    const bool sameValue = !field.value || field.value(one).dump() == field.value(other).dump();
    const bool sameBytes = one.raw.bytes(field.reg(), field.byte(), field.width) ==
                           other.raw.bytes(field.reg(), field.byte(), field.width);
    if (!sameValue || !sameBytes) differing.push_back(&field);
  }
  return differing;
}

}  // namespace backup
