#pragma once

#include <QDialog>

// Help window of the debug page: field meanings and the result codes of the Modbus link.
class TformHelp : public QDialog {
  Q_OBJECT

 public:
  explicit TformHelp(QWidget* parent = nullptr);

  static constexpr int kClientWidth = 582;
  static constexpr int kClientHeight = 373;

  static QStringList helpLines();
};
