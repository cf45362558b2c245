#include "ui/backup_messages.h"

#include "ui/backup_field_texts.h"

namespace {

std::string quoted(const std::string& path) { return "«" + path + "»"; }

std::string kindText(backup::BackupError::ValueKind kind) {
  switch (kind) {
    case backup::BackupError::ValueKind::kWholeNumber:
      return "не целое число";
    case backup::BackupError::ValueKind::kText:
      return "не строка";
    case backup::BackupError::ValueKind::kObject:
      return "не объект";
  }
  return {};
}

}  // namespace

std::string BackupErrorText(const backup::BackupError& error) {
  using Kind = backup::BackupError::Kind;
  switch (error.kind) {
    case Kind::kTooLarge:
      return "Файл больше 1 МиБ: это не файл конфигурации";
    case Kind::kNotJson:
      return "Файл повреждён или не является файлом конфигурации";
    case Kind::kNotAnObject:
    case Kind::kNotABackup:
    case Kind::kMalformed:
      return "Файл не является файлом конфигурации ULM5";
    case Kind::kGivenTwice:
      return "Поле " + quoted(error.path) + " указано дважды";
    case Kind::kBadVersion:
      return "Неверная версия файла";
    case Kind::kNewerVersion:
      return "Файл записан более новой версией программы (версия файла " + error.detail +
             ", эта программа читает версию " + std::to_string(backup::kBackupVersion) + ")";
    case Kind::kMissing:
      return "Нет поля " + quoted(error.path);
    case Kind::kWrongKind:
      return "Поле " + quoted(error.path) + ": " + kindText(error.expected);
    case Kind::kBadIdentification:
      return "Неверные байты идентификации прибора";
    case Kind::kTypeCodeDiffers:
      return "Код типа прибора не совпадает с байтами идентификации";
    case Kind::kMisplaced:
      return "Поле " + quoted(error.path) + " указывает не на свой регистр";
    case Kind::kBadBytes:
      return "Неверные байты поля " + quoted(error.path);
    case Kind::kBadValue:
      return "Значение поля " + quoted(error.path) + " отсутствует или неверного вида";
    case Kind::kOtherInstrument:
      return "Файл конфигурации прибора другого типа (код типа " + error.detail + ")";
  }
  return {};
}

std::string UnwritableText(const backup::UnwritableField& u) {
  using Reason = backup::UnwritableField::Reason;
  const std::string hex = backup::HexBytes(u.bytes);
  std::string reason;
  switch (u.reason) {
    case Reason::kNotANumber:
      reason = "не число (" + hex + ")";
      break;
    case Reason::kInfinite:
      reason = "бесконечность (" + hex + ")";
      break;
    case Reason::kReservedByte:
      reason = "резервный байт " + hex + ", записывается как 00";
      break;
    case Reason::kBitsBeyond:
      reason = "установлены биты " + std::to_string(backup::FirstBitBeyond(*u.field)) + "–7 (" +
               hex + "), записываются как 0";
      break;
  }
  return FieldLabel(*u.field).toStdString() + ": " + reason;
}

std::string InstrumentName(const device::IdentificationBlock& block) {
  const device::IdentificationTexts texts = device::FormatIdentification(block);
  return texts.type + " № " + texts.serial;
}
