#include "ui/application_title.h"

#include <QCoreApplication>
#include <QString>

// The name, not the display name: Qt appends a display name to every
// top-level window's title as the platform shows it.
void setApplicationTitle() {
  QCoreApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
}
