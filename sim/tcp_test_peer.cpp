#include "sim/tcp_test_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

#include "sim/unique_fd.h"

namespace sim {

namespace {

constexpr std::size_t kMaxClients = 16;

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

std::string TcpPeerAnswer(std::size_t received) {
  // "принято" and "байт" in code page 1251.
  const std::string accepted = "\xEF\xF0\xE8\xED\xFF\xF2\xEE";
  const std::string bytes = "\xE1\xE0\xE9\xF2";
  return "ULM5: " + accepted + " " + std::to_string(received) + " " + bytes + "\r\n";
}

class TcpTestPeer::Impl {
 public:
  explicit Impl(uint16_t port) {
    listen_ = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listen_.valid()) fail("socket");
    const int on = 1;
    ::setsockopt(listen_.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listen_.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      fail("bind 127.0.0.1:" + std::to_string(port));
    }
    if (::listen(listen_.get(), 4) != 0) fail("listen");
    socklen_t len = sizeof addr;
    ::getsockname(listen_.get(), reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    wake_ = UniqueFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!wake_.valid()) fail("eventfd");
    thread_ = std::thread([this] { run(); });
  }

  ~Impl() {
    stop_ = true;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_.get(), &one, sizeof one);
    thread_.join();
  }

  void run() {
    while (!stop_) {
      std::vector<pollfd> fds{{wake_.get(), POLLIN, 0}, {listen_.get(), POLLIN, 0}};
      for (const UniqueFd& c : clients_) fds.push_back({c.get(), POLLIN, 0});
      if (::poll(fds.data(), fds.size(), -1) <= 0) continue;
      for (std::size_t i = clients_.size(); i-- > 0;) {
        if (fds[i + 2].revents != 0 && !serve(clients_[i].get())) {
          clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(i));
        }
      }
      if (fds[1].revents & POLLIN) accept();
    }
  }

  void accept() {
    UniqueFd client(::accept4(listen_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!client.valid()) return;
    if (clients_.size() >= kMaxClients) return;  // closed at once
    clients_.push_back(std::move(client));
  }

  // False when the client has gone.
  bool serve(int fd) {
    char buffer[1024];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0) return errno == EAGAIN || errno == EINTR;
    if (n == 0) return false;
    const std::string answer = TcpPeerAnswer(static_cast<std::size_t>(n));
    return ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL) >= 0 || errno == EAGAIN;
  }

  UniqueFd listen_;
  UniqueFd wake_;
  uint16_t port_ = 0;
  std::vector<UniqueFd> clients_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TcpTestPeer::TcpTestPeer(uint16_t port) : impl_(std::make_unique<Impl>(port)) {}
TcpTestPeer::~TcpTestPeer() = default;
uint16_t TcpTestPeer::port() const { return impl_->port_; }

}  // namespace sim
