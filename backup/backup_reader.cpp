#include "backup/backup_reader.h"

#include <string>

namespace backup {

std::optional<Backup> ReadBackup(std::string_view text, BackupError& error) {
  if (text.size() > kLargestBackup) {
    error = {};
    error.kind = BackupError::Kind::kTooLarge;
    return std::nullopt;
  }
  auto decoded = DecodeBackup(text, error);
  if (decoded && decoded->instrument().typeCode != device::kUlm5TypeCode) {
    error = {};
    error.kind = BackupError::Kind::kOtherInstrument;
    error.path = "instrument.typeCode";
    error.detail = std::to_string(decoded->instrument().typeCode);
    return std::nullopt;
  }
  return decoded;
}

}  // namespace backup
