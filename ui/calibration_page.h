#pragma once

#include <QWidget>

class CalibrationPage : public QWidget {
  Q_OBJECT

 public:
  explicit CalibrationPage(QWidget* parent = nullptr);
};
