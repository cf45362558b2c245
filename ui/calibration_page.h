#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "device/calibration_coefficients.h"
#include "device/calibration_point_fields.h"

class QComboBox;
class QGroupBox;
class QLineEdit;

// Tab page "Калибровка": the six coefficient groups and the point calibration group. The page is
// the coefficient and point operations' view of their fields.
class CalibrationPage : public QWidget,
                        public device::CoefficientFields,
                        public device::CalibrationPointFields {
  Q_OBJECT

 public:
  explicit CalibrationPage(QWidget* parent = nullptr);

  // Texts of the calibration points; the index of an item is the point's code.
  static QStringList calibrationPoints();

  std::vector<std::string> coefficientTexts(device::CoefficientGroup group) const override;
  void showCoefficients(device::CoefficientGroup group,
                        const std::vector<std::string>& texts) override;
  device::CalibrationPointForm calibrationPointForm() const override;

  // The coefficient fields empty, as the window first shows them.
  void clearCoefficients();

 private:
  QGroupBox* buildCoefficients(const char* name, const QString& caption, const char* prefix,
                               device::CoefficientGroup coefficientGroup);
  QWidget* buildCoefficientButtons();
  QGroupBox* buildPointCalibration();

  // Field 1 first, indexed by group.
  std::array<std::vector<QLineEdit*>, device::kCoefficientGroupCount> coefficients_;
  QComboBox* points_ = nullptr;
  QLineEdit* value_ = nullptr;
};
