#pragma once

#include <QWidget>

class QGroupBox;

// Tab page "Отладка": one hand-made Modbus request with its frame, reply and decoded data.
class DebugPage : public QWidget {
  Q_OBJECT

 public:
  explicit DebugPage(QWidget* parent = nullptr);

  static QStringList commandItems();

 private:
  QGroupBox* buildInterface();
  QGroupBox* buildModBus();
  QGroupBox* buildExchange();
};
