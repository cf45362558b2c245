#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "ui/backup_field_texts.h"

// "Сравнить с файлом…": every field that differs between a file and the
// instrument, in a table (the field, the file's value, the instrument's).
class ConfigurationComparisonDialog : public QDialog {
  Q_OBJECT

 public:
  // `rows`: first the file's, second the instrument's.
  ConfigurationComparisonDialog(const QString& heading, const std::vector<DifferenceRow>& rows,
                                QWidget* parent);
};
