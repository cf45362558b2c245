#include "ui/calibration_record_export.h"

#include <QDate>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QTextDocument>

#include "ui/calibration_record_dialog.h"
#include "ui/calibration_record_document.h"
#include "ui/message_display.h"
#include "ui/profile_file.h"
#include "ui/record_printing.h"

namespace {

const QString kSection = QStringLiteral("ULM5");
const QString kEngineerKey = QStringLiteral("EngineerName");
const QString kPdfFilter = QStringLiteral("PDF (*.pdf);;Все файлы (*)");
const QString kPdfSuffix = QStringLiteral(".pdf");
constexpr const char* kNoInstrumentText =
    "Прибор не определён: нажмите «Найти», чтобы его серийный номер вошёл в протокол";
constexpr const char* kCannotWriteText = "Не удалось записать файл ";
constexpr const char* kCannotPrintText = "Не удалось напечатать протокол калибровки";

}  // namespace

CalibrationRecordExport::CalibrationRecordExport(QObject* parent)
    : QObject(parent),
      record_([] { return recordTimeText(QDateTime::currentDateTime()).toStdString(); }),
      printing_(&printersAvailable) {
  setObjectName(QStringLiteral("CalibrationRecordExport"));
}

QString CalibrationRecordExport::askFileName(QWidget& window, const QString& suggested) {
  if (fileName_) return fileName_(suggested);
  // The dialog adds the suffix itself, so that its overwrite question is asked
  // about the file that will really be written.
  QFileDialog dialog(&window, QStringLiteral("Сохранить протокол калибровки"), suggested,
                     kPdfFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(kPdfSuffix.mid(1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

void CalibrationRecordExport::run(QWidget& window, ProfileFile& settings,
                                  MessageDisplay& messages) {
  const auto& instrument = record_.instrument();
  if (!instrument) {
    messages.error(kNoInstrumentText);
    return;
  }
  CalibrationRecordDialog dialog(record_, settings.readString(kSection, kEngineerKey, QString()),
                                 printing_ && printing_(), &window);
  if (dialog.exec() != QDialog::Accepted) return;
  const QString engineer = dialog.engineer();
  try {
    settings.writeString(kSection, kEngineerKey, engineer);
  } catch (const ProfileFile::WriteError& error) {
    // The record is made all the same; only the name is not remembered.
    messages.exception(error.what());
  }

  const auto document = calibrationRecordDocument(record_, engineer, QDateTime::currentDateTime());
  if (dialog.choice() == CalibrationRecordDialog::Choice::kPrint) {
    if (printDocument(*document, &window) == PrintOutcome::kFailed)
      messages.error(kCannotPrintText);
    return;
  }
  const QString suggested = QStringLiteral("Протокол ULM5 %1 %2.pdf")
                                .arg(QString::fromStdString(instrument->serial),
                                     QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
  QString path = askFileName(window, suggested);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += kPdfSuffix;
  if (!writeCalibrationRecordPdf(*document, path))
    messages.error(kCannotWriteText + path.toStdString());
}
