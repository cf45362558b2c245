#include "debug_page.h"

DebugPage::DebugPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet3"));
}
