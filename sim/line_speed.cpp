#include "sim/line_speed.h"

// termios2 carries the speed as a number (c_ospeed) however it was set, with
// Bxxx constants or BOTHER. Its header clashes with <termios.h>, hence this file.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace sim {

int ReadLineSpeed(int fd) {
  struct termios2 t {};
  if (::ioctl(fd, TCGETS2, &t) != 0) return 0;
  return static_cast<int>(t.c_ospeed);
}

namespace {

// The Bxxx code of a standard speed, so that plain termios readers see it too;
// BOTHER for any other.
tcflag_t speedCode(int bitsPerSecond) {
  switch (bitsPerSecond) {
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return BOTHER;
  }
}

}  // namespace

bool WriteLineSpeed(int fd, int bitsPerSecond) {
  struct termios2 t {};
  if (::ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= speedCode(bitsPerSecond);
  t.c_ospeed = static_cast<speed_t>(bitsPerSecond);
  t.c_ispeed = static_cast<speed_t>(bitsPerSecond);
  if (::ioctl(fd, TCSETS2, &t) != 0) return false;
  return ReadLineSpeed(fd) == bitsPerSecond;
}

int BitsPerSecondOfIndex(int index) {
  constexpr int kSpeeds[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200};
  if (index < 0 || index > 6) return 0;
  return kSpeeds[index];
}

std::chrono::nanoseconds WireTime(std::size_t characters, int bitsPerSecond) {
  if (bitsPerSecond <= 0) return std::chrono::nanoseconds::zero();
  constexpr long long kBitsPerCharacter = 10;
  return std::chrono::nanoseconds(static_cast<long long>(characters) * kBitsPerCharacter *
                                  1'000'000'000LL / bitsPerSecond);
}

}  // namespace sim
