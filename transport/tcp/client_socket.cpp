#include "transport/tcp/client_socket.h"

#include <QNetworkProxy>
#include <QTcpSocket>
#include <string>
#include <utility>

#include "transport/application_exception_handler.h"
#include "transport/tcp/asynchronous_error_code.h"
#include "transport/tcp/socket_error.h"

namespace transport {
namespace {

constexpr const char* kCantChangeWhileActive = "Can't change value while socket is active";

}  // namespace

TClientSocket::TClientSocket(QObject* parent) : QObject(parent), socket_(new QTcpSocket(this)) {
  // The instrument sits on the local network: an application-wide proxy must
  // not reroute the link.
  socket_->setProxy(QNetworkProxy::NoProxy);
  socket_->setReadBufferSize(kReadChunk);
  connect(socket_, &QTcpSocket::connected, this, &TClientSocket::connected);
  connect(socket_, &QTcpSocket::disconnected, this, &TClientSocket::disconnected);
  connect(socket_, &QTcpSocket::readyRead, this, &TClientSocket::readyRead);
  connect(socket_, &QTcpSocket::errorOccurred, this, &TClientSocket::failed);
}

TClientSocket::~TClientSocket() = default;

void TClientSocket::setPort(int port) {
  if (port == port_) return;
  if (established_) throw ESocketError(kCantChangeWhileActive);
  if (port < 0 || port > 65535) {
    throw ESocketError("Invalid port number " + std::to_string(port));
  }
  port_ = port;
}

void TClientSocket::setHost(const QString& host) {
  if (host == host_) return;
  if (established_) throw ESocketError(kCantChangeWhileActive);
  host_ = host;
}

void TClientSocket::setActive(bool active) {
  if (active == established_) return;
  if (!active) {
    established_ = false;
    // Bytes already queued still go out before the close.
    socket_->disconnectFromHost();
    emit OnDisconnect();
    return;
  }
  if (host_.trimmed().isEmpty()) throw ESocketError("No host to connect to");
  if (port_ == 0) throw ESocketError("No port to connect to");
  // An attempt under way, or a close still sending, is dropped quietly.
  if (socket_->state() != QAbstractSocket::UnconnectedState) socket_->abort();
  socket_->connectToHost(host_, static_cast<quint16>(port_));
}

void TClientSocket::sendText(std::string_view text) {
  if (!established_) return;
  socket_->write(text.data(), static_cast<qint64>(text.size()));
}

std::string TClientSocket::receiveText() { return socket_->readAll().toStdString(); }

void TClientSocket::connected() {
  established_ = true;
  emit OnConnect();
}

void TClientSocket::disconnected() {
  if (!std::exchange(established_, false)) return;
  emit OnDisconnect();
}

void TClientSocket::readyRead() {
  if (established_) emit OnRead();
}

void TClientSocket::failed(QAbstractSocket::SocketError error) {
  // The peer's close (or reset) ends the connection through disconnected().
  if (error == QAbstractSocket::RemoteHostClosedError) return;
  // Shown once the socket has finished with the error: a modal message box
  // opened inside its signal would re-enter it.
  const std::string text =
      "Asynchronous socket error " + std::to_string(asynchronousErrorCode(error));
  QMetaObject::invokeMethod(
      this, [text] { showApplicationException(ESocketError(text)); }, Qt::QueuedConnection);
}

}  // namespace transport
