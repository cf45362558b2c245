#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace device {
class CalibrationRecord;
}

// "Протокол калибровки": what the record holds, the engineer's name, and the
// choice between a PDF file and the printer (offered only with `canPrint`).
// Neither choice is open while the name is empty: a record names who made it.
class CalibrationRecordDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Choice { kNone, kSave, kPrint };

  CalibrationRecordDialog(const device::CalibrationRecord& record, const QString& engineer,
                          bool canPrint, QWidget* parent = nullptr);

  QString engineer() const;
  Choice choice() const { return choice_; }

 private:
  void choose(Choice choice);

  QLineEdit* engineer_;
  QPushButton* save_;
  QPushButton* print_ = nullptr;
  Choice choice_ = Choice::kNone;
};
