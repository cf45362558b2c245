#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

#include "ui/backup_field_texts.h"

class QCheckBox;
class QTableWidget;

// "Загрузить конфигурацию…" asks before it writes: what will change (the
// field, the instrument's value, the file's value) and what stays as it is.
// The calibration coefficients of a file of another unit are written only
// when ticked in; their rows are greyed out until then.
class ConfigurationChangesDialog : public QDialog {
  Q_OBJECT

 public:
  struct Contents {
    QString heading;                  // the file and the instrument
    std::vector<DifferenceRow> rows;  // first: the instrument's, second: the file's
    QString otherUnit;                // the check box's caption, when the file is of another unit
    QStringList notes;                // what is not written, and why
  };

  ConfigurationChangesDialog(const Contents& contents, QWidget* parent);

  bool calibrationChosen() const;

 private:
  void showCalibrationChoice();

  QTableWidget* table_;
  QCheckBox* calibration_ = nullptr;
  std::vector<int> calibrationRows_;
};
