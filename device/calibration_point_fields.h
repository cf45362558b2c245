#pragma once

#include <string>

namespace device {

// " Калибровка прибора " as its two operations take it.
struct CalibrationPointForm {
  int pointIndex = -1;  // ComboBoxCalibrPoint position, the point's code; -1 nothing selected
  std::string value;    // EditZnacKalibr
};

class CalibrationPointFields {
 public:
  virtual ~CalibrationPointFields() = default;
  virtual CalibrationPointForm calibrationPointForm() const = 0;
};

}  // namespace device
