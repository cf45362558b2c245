#include <QApplication>

#include "ui/connection_settings.h"
#include "ui/message_box_display.h"
#include "ui/tform_main.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("ULM5 Конфигуратор"));
  MessageBoxDisplay messages;
  TformMain formMain(connection_settings::defaultPath(), messages);
  messages.setParent(&formMain);
  formMain.show();
  return QApplication::exec();
}
