#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace sim {

// The instrument's network port for the configurator's Ethernet page: listens
// on 127.0.0.1 only and answers every piece of text it receives with a short
// text (code page 1251, as the instrument sends it). Serves on a thread of its
// own; throws std::runtime_error if the port cannot be bound.
class TcpTestPeer {
 public:
  explicit TcpTestPeer(uint16_t port);  // 0: any free port
  ~TcpTestPeer();
  TcpTestPeer(const TcpTestPeer&) = delete;
  TcpTestPeer& operator=(const TcpTestPeer&) = delete;

  uint16_t port() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// The answer to `received` bytes: "ULM5: принято <n> байт" CR LF in code page 1251.
std::string TcpPeerAnswer(std::size_t received);

}  // namespace sim
