#pragma once

#include <QDialog>

class TformHelp : public QDialog {
  Q_OBJECT

 public:
  explicit TformHelp(QWidget* parent = nullptr);
};
