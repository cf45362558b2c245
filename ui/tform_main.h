#pragma once

#include <QWidget>

// The main window: connection panel, tab pages, status bar and timers.
class TformMain : public QWidget {
  Q_OBJECT

 public:
  explicit TformMain(QWidget* parent = nullptr);
};
