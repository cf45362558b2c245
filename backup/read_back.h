#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "backup/configuration.h"
#include "backup/write_plan.h"
#include "modbus/byte_string.h"

namespace backup {

// A register that reads back otherwise than it was written.
struct ReadBackDifference {
  int32_t reg;
  modbus::ByteString written;
  std::optional<modbus::ByteString> read;  // empty: not read
};

// Every register the plan writes, compared with a read after the writes.
std::vector<ReadBackDifference> ReadBackDifferences(const std::vector<PlannedWrite>& plan,
                                                    const Configuration& read);

}  // namespace backup
