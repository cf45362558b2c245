#pragma once

#include <QWidget>

class MeasurementsPage : public QWidget {
  Q_OBJECT

 public:
  explicit MeasurementsPage(QWidget* parent = nullptr);
};
