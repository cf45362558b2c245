#pragma once

#include <QWidget>
#include <string_view>

class QAbstractButton;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace device {
class MessageSink;
}

namespace transport {
class TClientSocket;
}

// Tab page "Ethernet": a test connection to the instrument's network port.
class EthernetPage : public QWidget {
  Q_OBJECT

 public:
  // The most of the newest line received that the page keeps; its label shows as much of the
  // end as fits.
  static constexpr int kKeptCharacters = 256;

  explicit EthernetPage(QWidget* parent = nullptr);

  // The instrument's address on its own network as delivered; also preset in the connection
  // panel of the main window.
  static QString defaultAddress();
  static QString defaultPort();

  // BitBtnIPConnect: port, host, then the connection in the background; the outcome arrives
  // as the socket's events.
  void connectSocket(transport::TClientSocket& socket, device::MessageSink& messages);
  // BitBtnIPDisconnect.
  void disconnectSocket(transport::TClientSocket& socket);
  // ButtonIPWrite: the fixed test text, only on an established connection.
  void writeTestText(transport::TClientSocket& socket);

  void showConnected();
  void showDisconnected();
  // What arrived, in code page 1251, replacing what was shown.
  void showReceived(std::string_view bytes);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QGroupBox* buildConnection();
  QGroupBox* buildSettings();
  bool startConnection(transport::TClientSocket& socket, device::MessageSink& messages);
  void enableConnect(bool enabled);
  void fitReceived();

  QLineEdit* address_ = nullptr;
  QLineEdit* port_ = nullptr;
  QLabel* status_ = nullptr;
  QAbstractButton* connect_ = nullptr;
  QAbstractButton* disconnect_ = nullptr;
  QLabel* received_ = nullptr;
  QString receivedLine_;
};
