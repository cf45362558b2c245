#pragma once

#include <vector>

#include "backup/backup_fields.h"
#include "backup/configuration.h"

namespace backup {

// The fields, in the order of the pages, whose value as the window shows it
// or whose bytes differ between two configurations (a file's and an
// instrument's).
std::vector<const BackupField*> DifferingFields(const Configuration& one,
                                                const Configuration& other);

}  // namespace backup
