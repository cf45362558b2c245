#pragma once

#include <string>

namespace transport::testing {

// Makes one pseudo-terminal answer the modem-line and error-counter requests
// (TIOCMGET, TIOCGICOUNT) that the kernel refuses on it with ENOTTY, so that
// a test can change the lines and count line errors as a serial driver
// would. Every other request, and every other descriptor, goes to the real
// ioctl. One shim at a time; it must outlive every use of the terminal.
class TerminalLineShim {
 public:
  explicit TerminalLineShim(const std::string& path);
  ~TerminalLineShim();
  TerminalLineShim(const TerminalLineShim&) = delete;
  TerminalLineShim& operator=(const TerminalLineShim&) = delete;

  bool ok() const;
  void setModemLines(int tiocmBits);
  void countFrameError();
  void countOverrun();
};

}  // namespace transport::testing
