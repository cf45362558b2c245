#include "scripted_port.h"

namespace modbus::testing {

namespace {
int32_t ticksBetween(uint32_t from, uint32_t to) { return static_cast<int32_t>(to - from); }
}  // namespace

void ScriptedPort::record(const std::string& entry, const std::string& operation) {
  log_.push_back(entry);
  if (operation == failOperation_ && ++callsOfFailOperation_ == failOccurrence_) throw PortFault{};
}

ByteString ScriptedPort::arrived() const {
  ByteString bytes;
  if (!open_ || !written_) return bytes;
  for (const Chunk& c : script_) {
    if (ticksBetween(writeTick_, clock_.now()) >= c.afterWriteMs) bytes += c.bytes;
  }
  return bytes.substr(std::min(consumed_, bytes.size()));
}

std::optional<uint32_t> ScriptedPort::NextArrival() const {
  if (!open_ || !written_) return std::nullopt;
  for (const Chunk& c : script_) {
    if (ticksBetween(writeTick_, clock_.now()) < c.afterWriteMs) {
      return writeTick_ + static_cast<uint32_t>(c.afterWriteMs);
    }
  }
  return std::nullopt;
}

void ScriptedPort::Close() {
  record("Close", "Close");
  // Closing drops whatever is still on its way.
  open_ = false;
  written_ = false;
  script_.clear();
  consumed_ = 0;
}

void ScriptedPort::SetComNumber(uint16_t number) {
  record("SetComNumber " + std::to_string(number), "SetComNumber");
}

void ScriptedPort::SetBaudRate(uint32_t bitsPerSecond) {
  record("SetBaudRate " + std::to_string(bitsPerSecond), "SetBaudRate");
  baudRate_ = static_cast<int32_t>(bitsPerSecond);
}

void ScriptedPort::Open() {
  record("Open", "Open");
  open_ = true;
}

void ScriptedPort::WriteString(const ByteString& text) {
  record("WriteString " + text, "WriteString");
  written_ = true;
  writeTick_ = clock_.now();
  script_ = std::move(nextReply_);
  nextReply_.clear();
  consumed_ = 0;
}

int32_t ScriptedPort::InBufUsed() {
  record("InBufUsed", "InBufUsed");
  return static_cast<int32_t>(arrived().size());
}

ByteString ScriptedPort::ReadString() {
  record("ReadString", "ReadString");
  ByteString bytes = arrived();
  consumed_ += bytes.size();
  return bytes;
}

}  // namespace modbus::testing
