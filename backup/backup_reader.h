#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "backup/backup_file.h"

namespace backup {

// A backup is a few kB; anything larger is not one, and a device such as
// /dev/zero never ends: a reader stops once it holds more than this.
inline constexpr size_t kLargestBackup = 1 << 20;

// The text of a file given as a backup, judged whole before anything is
// sent: empty with `error` set when it is larger than any backup, damaged,
// of a newer version, or of another instrument type.
std::optional<Backup> ReadBackup(std::string_view text, BackupError& error);

}  // namespace backup
