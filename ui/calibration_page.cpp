#include "calibration_page.h"

CalibrationPage::CalibrationPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet5"));
}
