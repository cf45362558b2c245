#include "cli/tracing_port.h"

#include <iomanip>

namespace cli {

namespace {

// The frame's characters, CR and LF and anything unprintable as escapes.
std::string printable(const modbus::ByteString& text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (byte < 0x20 || byte >= 0x7F) {
      constexpr const char* kDigits = "0123456789ABCDEF";
      shown += "\\x";
      shown += kDigits[byte >> 4];
      shown += kDigits[byte & 0xF];
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace

void TracingPort::SetBaudRate(uint32_t bitsPerSecond) {
  port_.SetBaudRate(bitsPerSecond);
  bitsPerSecond_ = bitsPerSecond;
}

void TracingPort::Open() {
  try {
    port_.Open();
  } catch (...) {
    line("open failed", {});
    throw;
  }
}

void TracingPort::WriteString(const modbus::ByteString& text) {
  line("sent", text);
  port_.WriteString(text);
}

modbus::ByteString TracingPort::ReadString() {
  modbus::ByteString text = port_.ReadString();
  line("received", text);
  return text;
}

void TracingPort::line(const char* what, const modbus::ByteString& text) {
  const auto ms = std::chrono::duration_cast<std::chrono::microseconds>(
                      std::chrono::steady_clock::now() - start_)
                      .count();
  // Integer arithmetic: the time must not follow the locale's decimal comma.
  out_ << "ulm5-cli: trace " << std::setw(7) << ms / 1000 << '.' << std::setw(3)
       << std::setfill('0') << ms % 1000 << std::setfill(' ') << " ms  " << bitsPerSecond_
       << " bit/s  " << what << ' ' << printable(text) << std::endl;
}

}  // namespace cli
