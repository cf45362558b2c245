#include "backup/link_settings.h"

namespace backup {

std::vector<const BackupField*> LinkSettingFields() {
  return {BackupFieldNamed("general.address"), BackupFieldNamed("general.speed"),
          BackupFieldNamed("general.protocol")};
}

std::vector<std::string> KeepLinkSettings(std::vector<PlannedWrite>& plan,
                                          const RegisterImage& instrument) {
  std::vector<std::string> kept;
  for (const BackupField* field : LinkSettingFields()) {
    const auto own = instrument.at(field->address);
    if (!own) continue;
    for (PlannedWrite& planned : plan) {
      if (!planned.covers(field->address)) continue;
      if (planned.byteAt(field->address) != *own) kept.push_back(field->name);
      planned.write.data[static_cast<size_t>(field->address - planned.firstAddress())] =
          static_cast<char>(*own);
    }
  }
  return kept;
}

}  // namespace backup
