#pragma once

#include <QWidget>

class EthernetPage : public QWidget {
  Q_OBJECT

 public:
  explicit EthernetPage(QWidget* parent = nullptr);
};
