#include "measurements_page.h"

MeasurementsPage::MeasurementsPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet2"));
}
