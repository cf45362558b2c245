#pragma once

#include <QWidget>

// Tab page "Уставки": decimal point, measuring and bar-graph ranges, four setpoints.
class SetpointsPage : public QWidget {
  Q_OBJECT

 public:
  explicit SetpointsPage(QWidget* parent = nullptr);

  // Mask of every value field before a decimal-point code is applied: four positions, the
  // first also taking a sign, no point, "_" for an empty position.
  static QString initialValueMask();

 private:
  QWidget* buildScale();
  QWidget* buildSetpoints();
  QWidget* buildButtons();
};
