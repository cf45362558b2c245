#include "backup/altered_fields.h"

#include <set>

namespace backup {

std::vector<AlteredField> AlteredFields(const std::vector<PlannedWrite>& plan,
                                        const Configuration& c) {
  std::vector<AlteredField> altered;
  std::set<const BackupField*> found;
  for (const PlannedWrite& planned : plan) {
    for (int32_t address = planned.firstAddress(); address < planned.endAddress(); ++address) {
      if (c.raw.at(address) == planned.byteAt(address)) continue;
      const BackupField* field = BackupFieldAt(address);
      if (!field) {
        altered.push_back({nullptr, address, {}, std::nullopt});
        continue;
      }
      if (!found.insert(field).second) continue;
      const size_t first = static_cast<size_t>(field->address - planned.firstAddress());
      altered.push_back({field, address,
                         planned.write.data.substr(first, static_cast<size_t>(field->width)),
                         c.raw.bytes(field->reg(), field->byte(), field->width)});
    }
  }
  return altered;
}

}  // namespace backup
