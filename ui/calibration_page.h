#pragma once

#include <QWidget>

class QGroupBox;

// Tab page "Калибровка": the six coefficient groups and the point calibration group.
class CalibrationPage : public QWidget {
  Q_OBJECT

 public:
  explicit CalibrationPage(QWidget* parent = nullptr);

  // Texts of the calibration points; the index of an item is the point's code.
  static QStringList calibrationPoints();

 private:
  QGroupBox* buildCoefficients(const char* name, const QString& caption, const char* prefix,
                               int count);
  QWidget* buildCoefficientButtons();
  QGroupBox* buildPointCalibration();
};
