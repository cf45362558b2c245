#include "terminal_line_shim.h"

#include <dlfcn.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdarg>

namespace transport::testing {
namespace {

struct ShimmedTerminal {
  dev_t device = 0;
  std::atomic<int> modemLines{0};
  std::atomic<int> frameErrors{0};
  std::atomic<int> overruns{0};
};

std::atomic<ShimmedTerminal*> shimmed{nullptr};

using IoctlFunction = int (*)(int, unsigned long, ...);

IoctlFunction realIoctl() {
  static const auto real = reinterpret_cast<IoctlFunction>(::dlsym(RTLD_NEXT, "ioctl"));
  return real;
}

bool isShimmed(int fd, const ShimmedTerminal& terminal) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == terminal.device;
}

}  // namespace

TerminalLineShim::TerminalLineShim(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return;
  auto* terminal = new ShimmedTerminal;
  terminal->device = st.st_rdev;
  shimmed = terminal;
}

TerminalLineShim::~TerminalLineShim() { delete shimmed.exchange(nullptr); }

bool TerminalLineShim::ok() const { return shimmed != nullptr; }

void TerminalLineShim::setModemLines(int tiocmBits) {
  if (ShimmedTerminal* terminal = shimmed) terminal->modemLines = tiocmBits;
}

void TerminalLineShim::countFrameError() {
  if (ShimmedTerminal* terminal = shimmed) ++terminal->frameErrors;
}

void TerminalLineShim::countOverrun() {
  if (ShimmedTerminal* terminal = shimmed) ++terminal->overruns;
}

}  // namespace transport::testing

using transport::testing::ShimmedTerminal;

// Linked into the test program, this ioctl is the one the backend calls.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
  va_list args;
  va_start(args, request);
  void* argument = va_arg(args, void*);
  va_end(args);
  ShimmedTerminal* terminal = transport::testing::shimmed;
  if (terminal && (request == TIOCMGET || request == TIOCGICOUNT) &&
      transport::testing::isShimmed(fd, *terminal)) {
    if (request == TIOCMGET) {
      *static_cast<int*>(argument) = terminal->modemLines;
    } else {
      serial_icounter_struct counts{};
      counts.frame = terminal->frameErrors;
      counts.overrun = terminal->overruns;
      *static_cast<serial_icounter_struct*>(argument) = counts;
    }
    return 0;
  }
  return transport::testing::realIoctl()(fd, request, argument);
}
