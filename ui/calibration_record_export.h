#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "device/calibration_record.h"

class MessageDisplay;
class ProfileFile;
class QWidget;

// The window's calibration record and "Протокол калибровки…": the dialog,
// the engineer's name kept as `EngineerName` in section "ULM5" of the
// settings file, then the PDF file or the printer.
class CalibrationRecordExport : public QObject {
  Q_OBJECT

 public:
  explicit CalibrationRecordExport(QObject* parent = nullptr);

  device::CalibrationRecord& record() { return record_; }

  // Asks for the PDF file, given the name it suggests; an empty name drops
  // the save. A file dialog unless replaced (tests answer it themselves).
  using FileNameProvider = std::function<QString(const QString& suggested)>;
  void setFileNameProvider(FileNameProvider provider) { fileName_ = std::move(provider); }
  // Whether printing is offered; by default, where a printer is installed.
  void setPrintingOffered(std::function<bool()> offered) { printing_ = std::move(offered); }

  // Refused until "Найти" has shown an instrument: a record names its
  // instrument. A name without a suffix gets ".pdf".
  void run(QWidget& window, ProfileFile& settings, MessageDisplay& messages);

 private:
  QString askFileName(QWidget& window, const QString& suggested);

  device::CalibrationRecord record_;
  FileNameProvider fileName_;
  std::function<bool()> printing_;
};
