#pragma once

#include <string>

#include "backup/backup_file.h"
#include "backup/unwritable_fields.h"

namespace cli {

// Why a file is not a backup this program takes: "setpoint1.zone: missing".
std::string BackupErrorText(const backup::BackupError& error);

// Why a value cannot be written back as it is: "not a number (FF FF FF FF)",
// "reserved byte 01, written as 00", "bits 5 to 7 set (E1), written as 0".
std::string UnwritableReasonText(const backup::UnwritableField& field);

}  // namespace cli
