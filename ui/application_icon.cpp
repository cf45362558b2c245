#include "ui/application_icon.h"

#include <QApplication>
#include <QIcon>
#include <QString>

// The resources live in the static ui library, which the linker would drop
// without a reference from the program.
static void initIconResources() { Q_INIT_RESOURCE(application_icon); }

void setApplicationIcon() {
  initIconResources();
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/ulm5-configurator-48.png"));
  icon.addFile(QStringLiteral(":/icons/ulm5-configurator-256.png"));
  QApplication::setWindowIcon(icon);
}
