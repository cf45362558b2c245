#include <QApplication>

#include "ui/application_title.h"
#include "ui/application_windows.h"
#include "ui/connection_settings.h"
#include "ui/message_box_display.h"
#include "ui/qt_translations.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  installQtTranslations(app);
  setApplicationTitle();
  MessageBoxDisplay messages;
  ApplicationWindows windows(connection_settings::defaultPath(), messages);
  messages.setParent(&windows.formMain());
  windows.formMain().show();
  return QApplication::exec();
}
