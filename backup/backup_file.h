#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "backup/configuration.h"
#include "device/identification_block.h"
#include "modbus/byte_string.h"

namespace backup {

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

// Why a text is not a backup this program takes; each front end words it.
struct BackupError {
  enum class Kind {
    kTooLarge,           // larger than any backup (kLargestBackup)
    kNotJson,            // damaged, or not JSON at all
    kGivenTwice,         // a key given twice in the object `path`.. names
    kNotAnObject,        // the document is not a JSON object
    kNotABackup,         // "format" is another program's
    kBadVersion,         // "version" below 1
    kNewerVersion,       // written by a newer program: `detail` is its version
    kMissing,            // `path` is not there
    kWrongKind,          // `path` is not of the kind `expected`
    kBadIdentification,  // "instrument.hex" is not the 12 bytes of the block
    kTypeCodeDiffers,    // "instrument.typeCode" disagrees with those bytes
    kMisplaced,          // the field `path` does not name its register and byte
    kBadBytes,           // the field `path`'s "hex" is not bytes of its width
    kBadValue,           // the field `path`'s "value" is missing or of the wrong kind
    kMalformed,          // a form no check foresaw: `detail` is the parser's word
    kOtherInstrument,    // of another instrument type: `detail` is its type code
  };
  enum class ValueKind { kWholeNumber, kText, kObject };

  Kind kind = Kind::kNotJson;
  std::string path;  // dot-separated: "setpoint1.zone", "instrument.typeCode"
  ValueKind expected = ValueKind::kText;
  std::string detail;
};

// Empty with `error` naming what is wrong: not JSON, not a backup, a version
// this program does not know, a value missing or of the wrong kind, bytes
// that are not hex of the value's width.
std::optional<Backup> DecodeBackup(std::string_view text, BackupError& error);

// "00 00 F6 42"
std::string HexBytes(const modbus::ByteString& bytes);

}  // namespace backup
