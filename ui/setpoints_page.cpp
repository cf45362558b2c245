#include "setpoints_page.h"

SetpointsPage::SetpointsPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet4"));
}
