#pragma once

#include <string>
#include <vector>

#include "backup/backup_fields.h"
#include "backup/register_image.h"
#include "backup/write_plan.h"

namespace backup {

// The link settings: the instrument's own network address, interface speed
// and protocol, the bytes by which the line reaches it.
std::vector<const BackupField*> LinkSettingFields();

// The writes with the link settings' bytes as the instrument holds them
// (`instrument`, as read), so that a restore leaves the unit where it is on
// the line. Returns the names of those whose value that changes.
std::vector<std::string> KeepLinkSettings(std::vector<PlannedWrite>& plan,
                                          const RegisterImage& instrument);

}  // namespace backup
