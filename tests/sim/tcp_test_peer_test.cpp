#include "sim/tcp_test_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace sim {
namespace {

int connectLoopback(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string receiveLine(int fd) {
  std::string got;
  while (got.find('\n') == std::string::npos) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10000) <= 0) break;
    char buffer[256];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    got.append(buffer, static_cast<std::size_t>(n));
  }
  return got;
}

TEST(TcpTestPeer, AnswersEveryClientWithAShortText) {
  TcpTestPeer peer(0);
  ASSERT_NE(peer.port(), 0);
  const int a = connectLoopback(peer.port());
  const int b = connectLoopback(peer.port());
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  ASSERT_EQ(::send(a, "test", 4, 0), 4);
  EXPECT_EQ(receiveLine(a), TcpPeerAnswer(4));
  ASSERT_EQ(::send(b, "hello!", 6, 0), 6);
  EXPECT_EQ(receiveLine(b), TcpPeerAnswer(6));
  ::close(a);
  ASSERT_EQ(::send(b, "x", 1, 0), 1);
  EXPECT_EQ(receiveLine(b), TcpPeerAnswer(1)) << "a client leaving does not disturb another";
  ::close(b);
}

TEST(TcpTestPeer, AnswerIsCodePage1251) {
  EXPECT_EQ(TcpPeerAnswer(12), "ULM5: \xEF\xF0\xE8\xED\xFF\xF2\xEE 12 \xE1\xE0\xE9\xF2\r\n");
}

TEST(TcpTestPeer, RefusesAPortInUse) {
  TcpTestPeer first(0);
  EXPECT_THROW(TcpTestPeer second(first.port()), std::runtime_error);
}

}  // namespace
}  // namespace sim
