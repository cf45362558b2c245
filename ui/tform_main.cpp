#include "ui/tform_main.h"

TformMain::TformMain(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("formMain"));
  setWindowTitle(QStringLiteral("Конфигуратор ULM5"));
}
