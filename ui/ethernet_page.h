#pragma once

#include <QWidget>

class QGroupBox;

// Tab page "Ethernet": a test connection to the instrument's network port.
class EthernetPage : public QWidget {
  Q_OBJECT

 public:
  explicit EthernetPage(QWidget* parent = nullptr);

  // The instrument's address on its own network as delivered; also preset in the connection
  // panel of the main window.
  static QString defaultAddress();
  static QString defaultPort();

 private:
  QGroupBox* buildConnection();
  QGroupBox* buildSettings();
};
