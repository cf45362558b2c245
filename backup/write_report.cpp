#include "backup/write_report.h"

#include <array>

#include "device/write_block_names.h"

namespace backup {

// A replay sends the writes in order and stops at the first that is not
// confirmed, so the first `written` writes of each block went in.
device::BlockWriteReport WriteReportOf(const std::vector<PlannedWrite>& plan,
                                       const Progress& progress) {
  device::BlockWriteReport report;
  std::array<int, kBlockCount> counted{};
  for (const PlannedWrite& planned : plan) {
    const auto block = static_cast<size_t>(planned.block);
    const BlockProgress& done = progress[block];
    device::BlockFate fate = device::BlockFate::kNotWritten;
    if (counted[block] < done.written) {
      ++counted[block];
      fate = device::BlockFate::kWritten;
    } else if (done.unconfirmed && done.unconfirmed->write.start == planned.write.start) {
      fate = device::BlockFate::kUnconfirmed;
    }
    report.add(device::WriteBlockNameAt(planned.write.start), fate);
  }
  return report;
}

}  // namespace backup
