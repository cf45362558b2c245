#pragma once

#include <string>
#include <vector>

#include "cli/backup_fields.h"
#include "cli/configuration.h"
#include "cli/write_plan.h"

namespace cli {

// A value read from the instrument that the window's write operations cannot
// send back as it is: a coefficient that is not a number (blank memory
// reads FF FF FF FF), a reserved byte that is not 0, setpoint flag bits 5
// to 7, switch bits 4 to 7.
struct UnwritableField {
  const BackupField* field;
  std::string reason;
};

std::vector<UnwritableField> UnwritableFields(const Configuration& configuration,
                                              const BlockChoice& blocks);

// The configuration with each such field as the window would write it (the
// reserved byte 0, the flag bits cleared, the coefficient 0), so that the
// window's operations plan the writes.
Configuration WithoutUnwritable(const Configuration& configuration,
                                const std::vector<UnwritableField>& fields);

// The plan without every write that sends a byte of such a field: it could
// not leave the byte as it is. Those writes go to `heldBack`; the other
// fields they carry are not written either.
std::vector<PlannedWrite> SkippingUnwritable(const std::vector<PlannedWrite>& plan,
                                             const std::vector<UnwritableField>& fields,
                                             std::vector<PlannedWrite>& heldBack);

}  // namespace cli
