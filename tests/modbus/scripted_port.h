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
    failsIn_ = occurrence;
  }

  // When the next scripted byte arrives, for a pump that wakes on arrivals.
  std::optional<uint32_t> NextArrival() const {
    for (const Chunk& c : open_ ? reply_ : std::vector<Chunk>{}) {
      if (sinceWrite() < c.afterWriteMs) return writeTick_ + static_cast<uint32_t>(c.afterWriteMs);
    }
    return std::nullopt;
  }
  bool isOpen() const { return open_; }
  uint32_t baudRate() const { return baudRate_; }

  void Close() override {
    record("Close", "Close");
    open_ = false;  // drops whatever is still on its way
    reply_.clear();
  }
  void SetComNumber(uint16_t number) override {
    record("SetComNumber " + std::to_string(number), "SetComNumber");
  }
  void SetBaudRate(uint32_t rate) override {
    record("SetBaudRate " + std::to_string(rate), "SetBaudRate");
    baudRate_ = rate;
  }
  void Open() override {
    record("Open", "Open");
    open_ = true;
  }
  void WriteString(const ByteString& text) override {
    record("WriteString " + text, "WriteString");
    writeTick_ = clock_.now();
    reply_ = std::exchange(nextReply_, {});
    consumed_ = 0;
  }
  int32_t InBufUsed() override {
    record("InBufUsed", "InBufUsed");
    return static_cast<int32_t>(arrived().size());
  }
  ByteString ReadString() override {
    record("ReadString", "ReadString");
    ByteString bytes = arrived();
    consumed_ += bytes.size();
    return bytes;
  }

 private:
  int32_t sinceWrite() const { return static_cast<int32_t>(clock_.now() - writeTick_); }
  void record(const std::string& entry, const std::string& operation) {
    log_.push_back(entry);
    if (operation == failOperation_ && --failsIn_ == 0) throw PortFault{};
  }
  ByteString arrived() const {
    ByteString bytes;
    for (const Chunk& c : open_ ? reply_ : std::vector<Chunk>{}) {
      if (sinceWrite() >= c.afterWriteMs) bytes += c.bytes;
    }
    return bytes.substr(std::min(consumed_, bytes.size()));
  }

  FakeClock& clock_;
  std::vector<std::string>& log_;
  std::vector<Chunk> nextReply_;
  std::vector<Chunk> reply_;  // on its way since the last write
  bool open_ = false;
  uint32_t writeTick_ = 0;
  std::size_t consumed_ = 0;
  uint32_t baudRate_ = 0;
  std::string failOperation_;
  int failsIn_ = 0;
};

}  // namespace modbus::testing
