#pragma once

#include <QWidget>

class SetpointsPage : public QWidget {
  Q_OBJECT

 public:
  explicit SetpointsPage(QWidget* parent = nullptr);
};
