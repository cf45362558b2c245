#pragma once

#include <vector>

#include "backup/backup_fields.h"
#include "backup/block_choice.h"
#include "backup/configuration.h"
#include "backup/write_plan.h"
#include "modbus/byte_string.h"

namespace backup {

// A value read from the instrument that the window's write operations cannot
// send back as it is.
struct UnwritableField {
  enum class Reason {
    kNotANumber,    // a coefficient's single (blank memory reads FF FF FF FF)
    kInfinite,      // a coefficient's single
    kReservedByte,  // a byte without a control that is not 0: written as 00
    kBitsBeyond,  // bits no control carries (setpoint flags 5 to 7, switches 4 to 7): written as 0
  };
  const BackupField* field;
  Reason reason;
  modbus::ByteString bytes;  // as read
};

std::vector<UnwritableField> UnwritableFields(const Configuration& configuration,
                                              const BlockChoice& blocks);

// The lowest bit of a byte no control of the field carries: 5 for "bits 5 to 7".
int FirstBitBeyond(const BackupField& field);

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

}  // namespace backup
