#pragma once

#include <QWidget>

class DebugPage : public QWidget {
  Q_OBJECT

 public:
  explicit DebugPage(QWidget* parent = nullptr);
};
