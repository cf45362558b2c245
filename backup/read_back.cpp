#include "backup/read_back.h"

namespace backup {

std::vector<ReadBackDifference> ReadBackDifferences(const std::vector<PlannedWrite>& plan,
                                                    const Configuration& read) {
  std::vector<ReadBackDifference> differences;
  for (const PlannedWrite& planned : plan) {
    const CapturingLink::Write& write = planned.write;
    for (int32_t r = 0; r < write.count; ++r) {
      const int32_t reg = write.start + r;
      const modbus::ByteString written = write.data.substr(2 * static_cast<size_t>(r), 2);
      const auto now = read.raw.bytes(reg, 0, 2);
      if (now != written) differences.push_back({reg, written, now});
    }
  }
  return differences;
}

}  // namespace backup
