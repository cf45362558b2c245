// The page "Ethernet" of the main window against peers on 127.0.0.1 that the
// tests start themselves: the simulator's TCP test peer, a Qt server in the
// test, and a peer flooding the link from a thread of its own.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "sim/tcp_test_peer.h"
#include "tests/ui/capturing_display.h"
#include "transport/tcp/client_socket.h"
#include "ui/ethernet_page.h"
#include "ui/platform_hooks.h"
#include "ui/tform_main.h"

namespace {

// Generous: a loaded machine under the sanitizers.
constexpr int kWaitMs = 60000;

using Message = CapturingDisplay::Message;

class EthernetWindow : public ::testing::Test {
 protected:
  EthernetWindow() {
    QFile ini(dir_.filePath(QStringLiteral("Configurator.ini")));
    EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[ULM5]\nCom=1\nBaud=6\n");
    ini.close();
    form_ = std::make_unique<TformMain>(ini.fileName(), display_);
    form_->show();
    auto* pages = child<QTabWidget>("PageControl1");
    pages->setCurrentWidget(child<QWidget>("TabSheet7"));
  }

  template <typename T>
  T* child(const char* name) const {
    T* found = form_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  void type(const QString& address, const QString& port) {
    child<QLineEdit>("EditIP")->setText(address);
    child<QLineEdit>("EditIPPort")->setText(port);
  }
  void typeLoopback(quint16 port) { type(QStringLiteral("127.0.0.1"), QString::number(port)); }
  void click(const char* name) { child<QAbstractButton>(name)->click(); }
  bool enabled(const char* name) const { return child<QAbstractButton>(name)->isEnabled(); }
  QString status() const { return child<QLabel>("StaticTextStatusIP")->text(); }
  QString received() const { return child<QLabel>("StaticTextIPRead")->text(); }

  // Connect enabled and disconnect disabled, or the other way round.
  void expectConnectEnabled(bool connectEnabled) const {
    EXPECT_EQ(enabled("BitBtnIPConnect"), connectEnabled);
    EXPECT_EQ(enabled("BitBtnIPDisconnect"), !connectEnabled);
  }

  // Whatever was posted before, an error display among it, has run.
  static void flushPostedEvents() {
    bool reached = false;
    QMetaObject::invokeMethod(
        qApp, [&reached] { reached = true; }, Qt::QueuedConnection);
    EXPECT_TRUE(waitFor([&] { return reached; }));
  }

  template <typename Done>
  static bool waitFor(Done done) {
    return QTest::qWaitFor(done, kWaitMs);
  }

  QTemporaryDir dir_;
  CapturingDisplay display_;
  PlatformHooks hooks_{display_};
  std::unique_ptr<TformMain> form_;
};

quint16 closedLoopbackPort() {
  QTcpServer server;
  EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  const quint16 port = server.serverPort();
  server.close();
  return port;
}

TEST_F(EthernetWindow, ConnectsWritesShowsTheReplyAndDisconnectsAgainAndAgain) {
  sim::TcpTestPeer peer(0);
  typeLoopback(peer.port());
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    child<QLabel>("StaticTextIPRead")->clear();
    click("BitBtnIPConnect");
    expectConnectEnabled(false);
    ASSERT_TRUE(waitFor([&] { return status() == "Соединение открыто"; }))
        << status().toStdString();

    click("ButtonIPWrite");
    ASSERT_TRUE(waitFor([&] { return received() == "ULM5: принято 10 байт"; }))
        << received().toStdString();

    click("BitBtnIPDisconnect");
    EXPECT_EQ(status(), "Соединение закрыто");
    expectConnectEnabled(true);
  }
  EXPECT_TRUE(display_.messages.empty());
}

TEST_F(EthernetWindow, TalksWithAPeerUntilThePeerCloses) {
  click("ButtonIPWrite");  // before any connection: nothing to send on
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  typeLoopback(server.serverPort());
  click("BitBtnIPConnect");
  ASSERT_TRUE(waitFor([&] { return server.hasPendingConnections(); }));
  std::unique_ptr<QTcpSocket> peer(server.nextPendingConnection());
  ASSERT_TRUE(waitFor([&] { return status() == "Соединение открыто"; }));

  // "первый", then "второй" CR LF, in code page 1251.
  peer->write("\xEF\xE5\xF0\xE2\xFB\xE9");
  ASSERT_TRUE(waitFor([&] { return received() == "первый"; })) << received().toStdString();
  EXPECT_EQ(peer->bytesAvailable(), 0) << "nothing was kept from before the connection";
  click("ButtonIPWrite");
  ASSERT_TRUE(waitFor([&] { return peer->bytesAvailable() >= 10; }));
  EXPECT_EQ(peer->readAll(), "1234567890");
  peer->write("\xE2\xF2\xEE\xF0\xEE\xE9\r\n");
  ASSERT_TRUE(waitFor([&] { return received() == "второй"; })) << received().toStdString();

  peer->disconnectFromHost();
  ASSERT_TRUE(waitFor([&] { return status() == "Соединение закрыто"; }));
  expectConnectEnabled(true);
  EXPECT_EQ(received(), "второй");
  flushPostedEvents();
  EXPECT_TRUE(display_.messages.empty()) << "the peer's close is no error";
}

TEST_F(EthernetWindow, UnusablePortOrHostStartsNoConnection) {
  const quint16 closed = closedLoopbackPort();
  const auto* socket = child<transport::TClientSocket>("ClientSocket1");
  for (const char* port : {"50x0", "", "70000", "0"}) {
    SCOPED_TRACE(port);
    display_.messages.clear();
    type(QStringLiteral("127.0.0.1"), QString::fromLatin1(port));
    click("BitBtnIPConnect");
    EXPECT_EQ(display_.messages,
              (std::vector<Message>{{Message::kError, "Неверно введен порт ULM5"}}));
    EXPECT_EQ(status(), "Нет соединения");
    expectConnectEnabled(true);
    EXPECT_EQ(socket->Host(), "") << "the host is not touched";
  }

  display_.messages.clear();
  type(QString(), QString::number(closed));
  click("BitBtnIPConnect");
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{{Message::kError, "Нет соединения с сервером"}}));
  EXPECT_EQ(status(), "Нет соединения");
  expectConnectEnabled(true);
}

TEST_F(EthernetWindow, RefusedConnectionIsShownAsAnAsynchronousSocketError) {
  typeLoopback(closedLoopbackPort());
  click("BitBtnIPConnect");
  expectConnectEnabled(false);
  ASSERT_TRUE(waitFor([&] { return !display_.messages.empty(); }));
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{{Message::kException, "Asynchronous socket error 10061"}}));
  EXPECT_EQ(status(), "");
  expectConnectEnabled(false);

  click("BitBtnIPDisconnect");
  EXPECT_EQ(status(), "Соединение закрыто");
  expectConnectEnabled(true);
}

// A listener on 127.0.0.1 whose queue of connections is full and never
// served: the kernel drops a further connect's SYN, so that attempt stays
// under way, retrying, until acceptQueued() makes room.
class FullBacklogListener {
 public:
  FullBacklogListener() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    if (fd_ < 0 || ::bind(fd_, raw, length) != 0 || ::listen(fd_, 0) != 0 ||
        ::getsockname(fd_, raw, &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    // Connections that complete take the queue's places; the first that does
    // not shows it full, and is given up so that it does not take the room
    // made later.
    for (int i = 0; i < 8 && !full_; ++i) {
      auto filler = std::make_unique<QTcpSocket>();
      filler->connectToHost(QHostAddress::LocalHost, port_);
      full_ = !filler->waitForConnected(1000);
      if (full_) filler->abort();
      fillers_.push_back(std::move(filler));
    }
  }
  ~FullBacklogListener() {
    for (int fd : accepted_) ::close(fd);
    if (fd_ >= 0) ::close(fd_);
  }
  FullBacklogListener(const FullBacklogListener&) = delete;
  FullBacklogListener& operator=(const FullBacklogListener&) = delete;

  quint16 port() const { return port_; }
  bool full() const { return full_; }
  void acceptQueued() {
    for (int fd; (fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
      accepted_.push_back(fd);
    }
  }

 private:
  int fd_;
  quint16 port_ = 0;
  bool full_ = false;
  std::vector<std::unique_ptr<QTcpSocket>> fillers_;
  std::vector<int> accepted_;
};

TEST_F(EthernetWindow, AnAttemptThatConnectsAfterADisconnectCanStillBeClosed) {
  FullBacklogListener listener;
  ASSERT_TRUE(listener.full());
  typeLoopback(listener.port());
  click("BitBtnIPConnect");
  expectConnectEnabled(false);
  QTest::qWait(300);
  ASSERT_EQ(status(), "") << "still connecting";

  click("BitBtnIPDisconnect");
  EXPECT_EQ(status(), "Соединение закрыто");
  expectConnectEnabled(true);
  EXPECT_FALSE(child<transport::TClientSocket>("ClientSocket1")->Active());

  // The attempt was not given up: once the peer has room it connects.
  listener.acceptQueued();
  ASSERT_TRUE(waitFor([&] { return status() == "Соединение открыто"; })) << status().toStdString();
  EXPECT_TRUE(child<transport::TClientSocket>("ClientSocket1")->Active());
  expectConnectEnabled(false);

  click("BitBtnIPDisconnect");
  EXPECT_EQ(status(), "Соединение закрыто");
  EXPECT_FALSE(child<transport::TClientSocket>("ClientSocket1")->Active());
  expectConnectEnabled(true);
  flushPostedEvents();
  EXPECT_TRUE(display_.messages.empty());
}

// Sends one endless line as fast as the link takes it until it has sent at
// least kBytes and the window has served its timer kTicks times, then ends
// the line and closes.
class FloodPeer {
 public:
  static constexpr qint64 kBytes = 8 * 1024 * 1024;
  static constexpr int kTicks = 20;

  FloodPeer() : thread_([this] { run(); }) { port_ = portReady_.get_future().get(); }
  ~FloodPeer() {
    stop_ = true;
    thread_.join();
  }

  quint16 port() const { return port_; }
  void tick() { ++ticks_; }
  qint64 sent() const { return sent_; }

 private:
  void run() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) {
      portReady_.set_value(0);
      return;
    }
    portReady_.set_value(server.serverPort());
    while (!stop_ && !server.waitForNewConnection(100)) {
    }
    if (stop_) return;
    std::unique_ptr<QTcpSocket> client(server.nextPendingConnection());
    const QByteArray chunk(64 * 1024, 'x');
    qint64 queued = 0;
    while (!stop_ && (sent_ < kBytes || ticks_ < kTicks)) {
      if (client->state() != QAbstractSocket::ConnectedState) return;
      if (client->bytesToWrite() < chunk.size()) queued += client->write(chunk);
      client->waitForBytesWritten(100);
      sent_ = queued - client->bytesToWrite();
    }
    client->write("\r\nEND\r\n");
    while (!stop_ && client->bytesToWrite() > 0) client->waitForBytesWritten(100);
    client->disconnectFromHost();
    if (client->state() != QAbstractSocket::UnconnectedState) client->waitForDisconnected(kWaitMs);
  }

  std::atomic<bool> stop_{false};
  std::atomic<int> ticks_{0};
  std::atomic<qint64> sent_{0};
  std::promise<quint16> portReady_;
  quint16 port_ = 0;
  std::thread thread_;
};

TEST_F(EthernetWindow, FloodingPeerNeitherStallsTheWindowNorOverflowsTheLabel) {
  FloodPeer peer;
  ASSERT_NE(peer.port(), 0);
  auto* label = child<QLabel>("StaticTextIPRead");
  qsizetype longestShown = 0;
  bool alwaysFits = true;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    longestShown = std::max(longestShown, label->text().size());
    alwaysFits = alwaysFits && label->fontMetrics().horizontalAdvance(label->text()) <=
                                   label->contentsRect().width();
    if (status() == "Соединение открыто") peer.tick();
  });
  timer.start();

  typeLoopback(peer.port());
  click("BitBtnIPConnect");
  // The peer goes on until the timer has been served during the flood.
  ASSERT_TRUE(waitFor([&] { return status() == "Соединение закрыто"; }))
      << "sent " << peer.sent() << " bytes";
  EXPECT_GE(peer.sent(), FloodPeer::kBytes);
  EXPECT_GT(longestShown, 0) << "the flood was shown";
  EXPECT_LE(longestShown, EthernetPage::kKeptCharacters);
  EXPECT_TRUE(alwaysFits);
  EXPECT_TRUE(display_.messages.empty());
}

}  // namespace
