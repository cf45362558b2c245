#pragma once

#include <QAbstractSocket>
#include <QObject>
#include <QString>
#include <string>
#include <string_view>

class QTcpSocket;

namespace transport {

// A non-blocking TCP client. The connection is made in the background, name
// resolution included, and its events arrive on the thread that owns the
// socket (the UI thread). An error the connection reports after it was
// started goes to the application's exception display as "Asynchronous
// socket error %d" (numbers in asynchronous_error_code.h).
class TClientSocket : public QObject {
  Q_OBJECT

 public:
  // A flooding peer is read this much per OnRead: the rest waits in the
  // kernel, whose full receive window holds the peer back.
  static constexpr qint64 kReadChunk = 64 * 1024;

  explicit TClientSocket(QObject* parent = nullptr);
  ~TClientSocket() override;

  // Both raise ESocketError on a change while a connection is established;
  // setting the value already held changes nothing.
  int Port() const { return port_; }
  void setPort(int port);
  const QString& Host() const { return host_; }
  void setHost(const QString& host);

  // True from OnConnect until OnDisconnect.
  bool Active() const { return established_; }
  // true: starts connecting to Host:Port and returns at once; raises
  // ESocketError if no attempt can be started. An attempt still under way is
  // given up for the new one.
  // false: closes an established connection and raises OnDisconnect for it;
  // otherwise does nothing, so an attempt under way goes on.
  void setActive(bool active);

  // Queues the bytes of `text` on the established connection.
  void sendText(std::string_view text);
  // Every byte received and not yet taken: at most kReadChunk.
  std::string receiveText();

 signals:
  void OnConnect();
  void OnDisconnect();
  void OnRead();

 private:
  void connected();
  void disconnected();
  void readyRead();
  void failed(QAbstractSocket::SocketError error);

  QTcpSocket* socket_;
  QString host_;
  int port_ = 0;
  bool established_ = false;
};

}  // namespace transport
