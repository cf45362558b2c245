#pragma once

#include <cstdint>
#include <vector>

#include "backup/write_plan.h"
#include "cli/exit_code.h"
#include "cli/session.h"

namespace cli {

// Before writes that move the instrument from `current` to another network
// address: true when no instrument answers that address yet. Otherwise the
// refusal (or the failure of the line) is reported and `code` set.
bool NewAddressIsFree(Session& session, const std::vector<backup::PlannedWrite>& plan,
                      uint8_t current, ExitCode& code);

}  // namespace cli
