#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim {

// One outcome of the line input: a good request (address, function, data,
// LRC removed) or a frame dropped for bad format or LRC.
struct FrameEvent {
  bool good = false;
  std::string payload;
};

// Cuts Modbus ASCII request frames out of the byte stream of the line. Every
// ":" starts a new frame, whatever came before, so one bad frame never costs
// more than itself; bytes outside a frame are ignored. Hex digits of either
// case are accepted.
class FrameReader {
 public:
  // Longest frame text between ":" and LF kept (Modbus ASCII allows 513 in all).
  static constexpr std::size_t kMaxFrameChars = 520;

  void feed(std::string_view bytes, std::vector<FrameEvent>& out);

 private:
  void finish(std::vector<FrameEvent>& out);

  bool inFrame_ = false;
  bool overlong_ = false;
  std::string text_;  // characters after ":" up to, without, LF
};

}  // namespace sim
