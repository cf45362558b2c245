#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "modbus/port_interface.h"

namespace modbus::testing {

// Not derived from std::exception: the exchange must catch anything.
struct PortFault {};

// A port whose reply bytes arrive at scripted times after the request was
// written. Every call is appended to a log that an observer may share.
class ScriptedPort : public PortInterface {
 public:
  struct Chunk {
    int32_t afterWriteMs;
    ByteString bytes;
  };

  ScriptedPort(FakeClock& clock, std::vector<std::string>& log) : clock_(clock), log_(log) {}

  // The reply to the next written request, in the order the bytes arrive.
  void ScriptReply(std::vector<Chunk> chunks) { nextReply_ = std::move(chunks); }
  void ReplyAtOnce(const ByteString& bytes) { nextReply_ = {{0, bytes}}; }
  // The `occurrence`-th call (1-based) of the operation named as in the log throws.
  void FailOn(const std::string& operation, int occurrence = 1) {
    failOperation_ = operation;
    failOccurrence_ = occurrence;
  }

  // When the next scripted byte arrives, for a pump that wakes on arrivals.
  std::optional<uint32_t> NextArrival() const;
  bool isOpen() const { return open_; }
  int32_t baudRate() const { return baudRate_; }

  void Close() override;
  void SetComNumber(uint16_t number) override;
  void SetBaudRate(uint32_t bitsPerSecond) override;
  void Open() override;
  void WriteString(const ByteString& text) override;
  int32_t InBufUsed() override;
  ByteString ReadString() override;

 private:
  void record(const std::string& entry, const std::string& operation);
  ByteString arrived() const;

  FakeClock& clock_;
  std::vector<std::string>& log_;
  std::vector<Chunk> nextReply_;
  std::vector<Chunk> script_;  // the reply on its way since the last write
  bool open_ = false;
  bool written_ = false;
  uint32_t writeTick_ = 0;
  std::size_t consumed_ = 0;
  int32_t baudRate_ = 0;
  std::string failOperation_;
  int failOccurrence_ = 0;
  int callsOfFailOperation_ = 0;
};

}  // namespace modbus::testing
