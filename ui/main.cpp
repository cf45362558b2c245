#include <QApplication>

#include "ui/tform_main.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("ULM5 Конфигуратор"));
  TformMain formMain;
  formMain.show();
  return QApplication::exec();
}
