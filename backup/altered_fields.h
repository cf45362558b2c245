#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "backup/backup_fields.h"
#include "backup/configuration.h"
#include "backup/write_plan.h"
#include "modbus/byte_string.h"

namespace backup {

// A field a write would send otherwise than the configuration's bytes hold
// it: the window's field cannot carry that text exactly, or the text was
// edited and disagrees with its bytes.
struct AlteredField {
  const BackupField* field;  // none: a byte of no field, the configuration has no value for it
  int32_t address;           // the first byte that differs
  modbus::ByteString sent;   // the field's bytes as the write sends them
  std::optional<modbus::ByteString> held;  // as the configuration holds them
};

// Each field once, in the order of the writes; a byte of no field each time.
std::vector<AlteredField> AlteredFields(const std::vector<PlannedWrite>& plan,
                                        const Configuration& configuration);

}  // namespace backup
