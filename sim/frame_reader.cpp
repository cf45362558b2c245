#include "sim/frame_reader.h"

#include <cstdint>

namespace sim {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Address, function and LRC at least.
constexpr std::size_t kMinDigits = 6;

}  // namespace

void FrameReader::feed(std::string_view bytes, std::vector<FrameEvent>& out) {
  for (const char c : bytes) {
    if (c == ':') {
      if (inFrame_) out.push_back(FrameEvent{});  // cut short by a new start
      inFrame_ = true;
      overlong_ = false;
      text_.clear();
      continue;
    }
    if (!inFrame_) continue;
    if (c == '\n') {
      finish(out);
      continue;
    }
    if (text_.size() >= kMaxFrameChars) {
      overlong_ = true;
      continue;
    }
    text_.push_back(c);
  }
}

void FrameReader::finish(std::vector<FrameEvent>& out) {
  inFrame_ = false;
  FrameEvent event;
  if (overlong_ || text_.empty() || text_.back() != '\r') {
    out.push_back(event);
    return;
  }
  text_.pop_back();
  if (text_.size() < kMinDigits || text_.size() % 2 != 0) {
    out.push_back(event);
    return;
  }
  std::string bytes;
  uint8_t sum = 0;
  for (std::size_t i = 0; i < text_.size(); i += 2) {
    const int hi = hexValue(text_[i]);
    const int lo = hexValue(text_[i + 1]);
    if (hi < 0 || lo < 0) {
      out.push_back(event);
      return;
    }
    const auto b = static_cast<uint8_t>(hi * 16 + lo);
    sum = static_cast<uint8_t>(sum + b);
    bytes.push_back(static_cast<char>(b));
  }
  if (sum != 0) {
    out.push_back(event);
    return;
  }
  bytes.pop_back();
  event.good = true;
  event.payload = std::move(bytes);
  out.push_back(std::move(event));
}

}  // namespace sim
