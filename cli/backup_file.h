#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/configuration.h"
#include "device/identification_block.h"
#include "modbus/byte_string.h"

namespace cli {

// A configuration backup as JSON:
//   "format": "ulm5-configuration", "version": 1,
//   "readAt": the PC's local time of the read (ISO 8601),
//   "instrument": the identification block's raw bytes ("hex") and its texts,
//   then one object per page ("general", "scale", "setpoint1".."setpoint4",
//   "coefficients") with one entry per value (BackupFields):
//   {"register": r, "byte": 0 or 1, "hex": "00 00 F6 42", "value": ...},
//   "value" being what the window's control holds: the text of an edit field
//   as the window shows it (numbers with a point), the position of a list
//   (null: nothing selected), check states and list positions by name for a
//   byte of flags. Bytes are given as read, so a single is carried bit for
//   bit.
inline constexpr int kBackupVersion = 1;

struct Backup {
  std::string readAt;
  modbus::ByteString identification;  // the 12 data bytes of HR 120..125
  Configuration configuration;

  device::IdentificationBlock instrument() const;
};

std::string EncodeBackup(const Backup& backup);

// Empty with `error` naming what is wrong: not JSON, not a backup, a version
// this program does not know, a value missing or of the wrong kind, bytes
// that are not hex of the value's width.
std::optional<Backup> DecodeBackup(std::string_view text, std::string& error);

// "00 00 F6 42"
std::string HexBytes(const modbus::ByteString& bytes);

}  // namespace cli
