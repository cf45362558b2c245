#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/backup_fields.h"
#include "cli/exit_code.h"
#include "cli/register_image.h"
#include "cli/session.h"
#include "cli/write_plan.h"

namespace cli {

// The link settings: the instrument's own network address, interface speed
// and protocol, the bytes by which the line reaches it.
std::vector<const BackupField*> LinkSettingFields();

// The writes with the link settings' bytes as the instrument holds them
// (`instrument`, as read), so that a restore leaves the unit where it is on
// the line. Returns the names of those whose value that changes.
std::vector<std::string> KeepLinkSettings(std::vector<PlannedWrite>& plan,
                                          const RegisterImage& instrument);

// Before writes that move the instrument from `current` to another network
// address: true when no instrument answers that address yet. Otherwise the
// refusal (or the failure of the line) is reported and `code` set.
bool NewAddressIsFree(Session& session, const std::vector<PlannedWrite>& plan, uint8_t current,
                      ExitCode& code);

}  // namespace cli
