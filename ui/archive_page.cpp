#include "archive_page.h"

ArchivePage::ArchivePage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet6"));
}
