#pragma once

#include <vector>

#include "backup/write_plan.h"
#include "backup/write_replay.h"
#include "device/block_writes.h"

namespace backup {

// What became of each write of a replayed plan, named as the window's write
// operations name their requests: the writes confirmed, the one sent without
// a confirmation, and every other not written.
device::BlockWriteReport WriteReportOf(const std::vector<PlannedWrite>& plan,
                                       const Progress& progress);

}  // namespace backup
