#pragma once

#include <string>

#include "backup/backup_file.h"
#include "backup/unwritable_fields.h"
#include "device/identification_block.h"

// The window's words for what the backup layer finds.

// Why a file is not taken as a configuration: "Нет поля «setpoint1.zone»".
std::string BackupErrorText(const backup::BackupError& error);

// A value that cannot go back as it is, with the control's name:
// "К-т 1В 1: не число (FF FF FF FF)".
std::string UnwritableText(const backup::UnwritableField& field);

// "ULM5 № 240315", as the status bar names an instrument.
std::string InstrumentName(const device::IdentificationBlock& block);
