#include "cli/backup_words.h"

#include "backup/backup_fields.h"

namespace cli {

namespace {

std::string expectedKind(backup::BackupError::ValueKind kind) {
  switch (kind) {
    case backup::BackupError::ValueKind::kWholeNumber:
      return "a whole number";
    case backup::BackupError::ValueKind::kText:
      return "a string";
    case backup::BackupError::ValueKind::kObject:
      return "a object";
  }
  return {};
}

}  // namespace

std::string BackupErrorText(const backup::BackupError& error) {
  using Kind = backup::BackupError::Kind;
  const backup::BackupField* field = backup::BackupFieldNamed(error.path);
  switch (error.kind) {
    case Kind::kTooLarge:
      return "larger than 1 MiB, not a backup";
    case Kind::kNotJson:
      return "the file is not JSON (damaged?)";
    case Kind::kGivenTwice:
      return error.path + ": given twice";
    case Kind::kNotAnObject:
      return "the file is not a JSON object";
    case Kind::kNotABackup:
      return "the file is not a ULM5 configuration backup";
    case Kind::kBadVersion:
      return "version: not a valid version";
    case Kind::kNewerVersion:
      return "the backup was written by a newer ulm5-cli (version " + error.detail +
             "; this one reads up to " + std::to_string(backup::kBackupVersion) + ")";
    case Kind::kMissing:
      return error.path + ": missing";
    case Kind::kWrongKind:
      return error.path + ": not " + expectedKind(error.expected);
    case Kind::kBadIdentification:
      return "instrument.hex: not the 12 bytes of the identification";
    case Kind::kTypeCodeDiffers:
      return "instrument.typeCode: differs from its bytes";
    case Kind::kMisplaced:
      return error.path + ": not at register " + std::to_string(field ? field->reg() : 0) +
             " byte " + std::to_string(field ? field->byte() : 0);
    case Kind::kBadBytes:
      return error.path + ".hex: not " + std::to_string(field ? field->width : 0) + " bytes";
    case Kind::kBadValue:
      return error.path + ".value: missing or of the wrong kind";
    case Kind::kMalformed:
      return "the file does not have the form of a backup (" + error.detail + ")";
    case Kind::kOtherInstrument:
      return "the backup is of another instrument (type code " + error.detail + ")";
  }
  return {};
}

std::string UnwritableReasonText(const backup::UnwritableField& u) {
  using Reason = backup::UnwritableField::Reason;
  const std::string hex = backup::HexBytes(u.bytes);
  switch (u.reason) {
    case Reason::kNotANumber:
      return "not a number (" + hex + ")";
    case Reason::kInfinite:
      return "infinite (" + hex + ")";
    case Reason::kReservedByte:
      return "reserved byte " + hex + ", written as 00";
    case Reason::kBitsBeyond:
      return "bits " + std::to_string(backup::FirstBitBeyond(*u.field)) + " to 7 set (" + hex +
             "), written as 0";
  }
  return {};
}

}  // namespace cli
