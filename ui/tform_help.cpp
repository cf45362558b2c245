#include "tform_help.h"

TformHelp::TformHelp(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TformHelp"));
  setWindowTitle(QStringLiteral("Помощь"));
  setFixedSize(582, 373);
}
