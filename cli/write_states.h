#pragma once

#include <string>

#include "backup/block_choice.h"
#include "backup/write_plan.h"
#include "backup/write_replay.h"

namespace cli {

// "general settings", "scale and setpoints", "calibration coefficients"
const char* BlockName(backup::Block block);

// "written", "not written", "partly written (2 of 6 writes)", "unknown: ...";
// a block withheld whole reads "not written: " and `withheldReason`.
std::string StateOf(const backup::BlockProgress& progress, const std::string& withheldReason = {});

// "HR 13..22"
std::string RegistersOf(const backup::PlannedWrite& planned);

// The state of each chosen block: "general settings: written; ...".
std::string BlockStates(const backup::BlockChoice& blocks, const backup::Progress& progress,
                        const std::string& withheldReason = {});

}  // namespace cli
