#include "ui/configuration_files.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <chrono>

#include "backup/backup_reader.h"
#include "backup/configuration_comparison.h"
#include "backup/local_time_text.h"
#include "backup/unwritable_fields.h"
#include "device/link_messages.h"
#include "ui/backup_field_texts.h"
#include "ui/backup_messages.h"
#include "ui/configuration_comparison_dialog.h"
#include "ui/held_messages.h"

namespace {

const QString kFilter = QStringLiteral("Конфигурация ULM5 (*.json);;Все файлы (*)");
const QString kSuffix = QStringLiteral("json");
constexpr const char* kCannotWriteText = "Не удалось записать файл ";
constexpr const char* kCannotReadText = "Не удалось прочитать файл ";

}  // namespace

QString ConfigurationFiles::askFileName(FileAction action) {
  if (fileName_) return fileName_(action);
  if (action != FileAction::kSave) {
    const QString caption = action == FileAction::kLoad ? QStringLiteral("Загрузить конфигурацию")
                                                        : QStringLiteral("Сравнить с файлом");
    return QFileDialog::getOpenFileName(&window_, caption, QString(), kFilter);
  }
  // The dialog adds the suffix itself, so that its overwrite question is asked
  // about the file that will really be written.
  QFileDialog dialog(&window_, QStringLiteral("Сохранить конфигурацию"), QString(), kFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(kSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

int ConfigurationFiles::run(QDialog& dialog) { return dialog_ ? dialog_(dialog) : dialog.exec(); }

std::optional<backup::Backup> ConfigurationFiles::readFile(const QString& path,
                                                           device::MessageSink& messages) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    messages.error(kCannotReadText + path.toStdString());
    return std::nullopt;
  }
  // One byte more than the largest backup tells a larger file from one that fits.
  const QByteArray text = file.read(static_cast<qint64>(backup::kLargestBackup) + 1);
  if (file.error() != QFileDevice::NoError) {
    messages.error(kCannotReadText + path.toStdString());
    return std::nullopt;
  }
  backup::BackupError error;
  auto read = backup::ReadBackup(std::string_view(text.constData(), text.size()), error);
  if (!read)
    messages.error("Файл не принят: " + path.toStdString() + "\n" + BackupErrorText(error));
  return read;
}

std::optional<ConfigurationFiles::Instrument> ConfigurationFiles::readInstrument(
    device::RegisterLink& link, device::OperationControls& controls,
    device::MessageSink& messages) {
  HeldMessages steps;
  Instrument instrument;
  if (backup::ReadConfiguration(link, controls, steps, {}, instrument.configuration) !=
      device::OperationOutcome::kDone) {
    // Nothing was started while another exchange held the link: nothing to say.
    if (!steps.firstError().empty()) messages.error(steps.firstError());
    return std::nullopt;
  }
  // The reads left the panel's port and speed in the link's record.
  const auto identification = backup::ReadIdentification(link);
  if (!identification) {
    messages.error(device::kNoConnectionText);
    return std::nullopt;
  }
  instrument.identification = *identification;
  return instrument;
}

std::optional<ConfigurationFiles::FileAndInstrument> ConfigurationFiles::readFileAndInstrument(
    FileAction action, device::RegisterLink& link, device::OperationControls& controls,
    device::MessageSink& messages) {
  const QString path = askFileName(action);
  if (path.isEmpty()) return std::nullopt;
  auto file = readFile(path, messages);
  if (!file) return std::nullopt;
  auto instrument = readInstrument(link, controls, messages);
  if (!instrument) return std::nullopt;
  return FileAndInstrument{path, std::move(*file), std::move(*instrument)};
}

std::string ConfigurationFiles::FileAndInstrument::heading() const {
  return "Файл: " + path.toStdString() + "\nВ файле: " + InstrumentName(file.instrument()) +
         ", считан " + file.readAt +
         "\nВ приборе: " + InstrumentName(instrument.identification.block);
}

void ConfigurationFiles::save(device::RegisterLink& link, device::OperationControls& controls,
                              device::MessageSink& messages) {
  QString path = askFileName(FileAction::kSave);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + kSuffix;
  const auto instrument = readInstrument(link, controls, messages);
  if (!instrument) return;

  backup::Backup saved;
  saved.readAt = backup::LocalTimeText(std::chrono::system_clock::now());
  saved.identification = instrument->identification.raw;
  saved.configuration = instrument->configuration;
  const QByteArray bytes = QByteArray::fromStdString(backup::EncodeBackup(saved));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    messages.error(kCannotWriteText + path.toStdString());
    return;
  }
  std::string text = "Конфигурация прибора " + InstrumentName(instrument->identification.block) +
                     " сохранена в файл " + path.toStdString();
  // Kept in the file as read; a load leaves them out.
  const auto unwritable = backup::UnwritableFields(saved.configuration, backup::BlockChoice{});
  if (!unwritable.empty()) text += "\nНе могут быть записаны обратно как есть:";
  for (const backup::UnwritableField& u : unwritable) text += "\n" + UnwritableText(u);
  messages.confirmation(text);
}

void ConfigurationFiles::compare(device::RegisterLink& link, device::OperationControls& controls,
                                 device::MessageSink& messages) {
  const auto opened = readFileAndInstrument(FileAction::kCompare, link, controls, messages);
  if (!opened) return;
  const backup::Configuration& file = opened->file.configuration;
  const backup::Configuration& instrument = opened->instrument.configuration;
  std::vector<DifferenceRow> rows;
  for (const backup::BackupField* field : backup::DifferingFields(file, instrument)) {
    for (DifferenceRow& row : DifferenceRows(*field, file, instrument))
      rows.push_back(std::move(row));
  }
  std::string heading = opened->heading();
  if (opened->file.instrument().serial != opened->instrument.identification.block.serial)
    heading += "\nДругой серийный номер: коэффициенты калибровки относятся к своему прибору";
  if (rows.empty()) {
    messages.confirmation(heading + "\nКонфигурация прибора совпадает с файлом");
    return;
  }
  // Left open beside the pages while the operation ends.
  auto* dialog = new ConfigurationComparisonDialog(QString::fromStdString(heading), rows, &window_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  if (dialog_) {
    dialog_(*dialog);
    delete dialog;
    return;
  }
  dialog->show();
}
