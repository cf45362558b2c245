// Any bytes as a backup file: a refusal with its reason, or a backup that
// is written back out and read again to the same bytes. Never a crash.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "backup/backup_reader.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  backup::BackupError error;
  const auto decoded = backup::DecodeBackup(text, error);
  if (!decoded) {
    // A refusal names what it concerns wherever a member or field is at fault.
    using Kind = backup::BackupError::Kind;
    const bool named = error.kind == Kind::kMissing || error.kind == Kind::kWrongKind ||
                       error.kind == Kind::kMisplaced || error.kind == Kind::kBadBytes ||
                       error.kind == Kind::kBadValue;
    require(!named || !error.path.empty());
    return 0;
  }
  const std::string again = backup::EncodeBackup(*decoded);
  backup::BackupError secondError;
  const auto reread = backup::DecodeBackup(again, secondError);
  require(reread.has_value());
  require(reread->identification == decoded->identification);
  require(reread->configuration.raw == decoded->configuration.raw);
  require(backup::EncodeBackup(*reread) == again);
  // The reader of both front ends takes what decodes, unless it is of another type.
  backup::BackupError readError;
  require(backup::ReadBackup(text, readError).has_value() ==
          (decoded->instrument().typeCode == device::kUlm5TypeCode));
  return 0;
}
