// The Ethernet page's socket component on its own, against the simulator's
// TCP test peer on 127.0.0.1.

#include "transport/tcp/client_socket.h"

#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <string>

#include "sim/tcp_test_peer.h"
#include "transport/tcp/socket_error.h"

namespace {

constexpr int kWaitMs = 60000;

// The text of the error a change raises, or "none".
std::string refusal(const std::function<void()>& change) {
  try {
    change();
  } catch (const transport::ESocketError& error) {
    return error.what();
  }
  return "none";
}

TEST(EthernetClientSocket, HostAndPortAreFixedWhileTheConnectionLasts) {
  sim::TcpTestPeer peer(0);
  transport::TClientSocket socket;
  int connects = 0;
  int disconnects = 0;
  QObject::connect(&socket, &transport::TClientSocket::OnConnect, [&] { ++connects; });
  QObject::connect(&socket, &transport::TClientSocket::OnDisconnect, [&] { ++disconnects; });

  socket.setHost(QStringLiteral("127.0.0.1"));
  socket.setPort(peer.port());
  socket.setActive(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return socket.Active(); }, kWaitMs));
  EXPECT_EQ(connects, 1);

  const std::string whileActive = "Can't change value while socket is active";
  EXPECT_EQ(refusal([&] { socket.setPort(peer.port() == 1 ? 2 : 1); }), whileActive);
  EXPECT_EQ(refusal([&] { socket.setHost(QStringLiteral("localhost")); }), whileActive);
  EXPECT_EQ(socket.Port(), peer.port());
  EXPECT_EQ(socket.Host(), "127.0.0.1");
  EXPECT_EQ(refusal([&] { socket.setPort(peer.port()); }), "none") << "the same value is no change";
  EXPECT_EQ(refusal([&] { socket.setHost(QStringLiteral("127.0.0.1")); }), "none");

  socket.setActive(false);
  EXPECT_FALSE(socket.Active());
  EXPECT_EQ(disconnects, 1);
  socket.setActive(false);
  EXPECT_EQ(disconnects, 1) << "nothing left to close";
  EXPECT_EQ(refusal([&] { socket.setPort(1); }), "none");
  EXPECT_EQ(socket.Port(), 1);
}

}  // namespace
