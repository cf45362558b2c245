#include "sim/line.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "sim/line_speed.h"

namespace sim {

namespace {

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

// Raw 8N1, no echo, no CR/LF translation, reads return at once.
void makeRaw(int fd, const std::string& what) {
  termios t{};
  if (::tcgetattr(fd, &t) != 0) fail("tcgetattr " + what);
  ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (::tcsetattr(fd, TCSANOW, &t) != 0) fail("tcsetattr " + what);
}

void makeLink(const std::string& target, const std::string& link) {
  struct stat st {};
  if (::lstat(link.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      errno = EEXIST;
      fail("link " + link + " exists and is not a symlink");
    }
    if (::unlink(link.c_str()) != 0) fail("unlink " + link);
  }
  if (::symlink(target.c_str(), link.c_str()) != 0) fail("symlink " + link);
}

}  // namespace

std::unique_ptr<Line> Line::CreatePseudoTerminal(const std::string& linkPath) {
  std::unique_ptr<Line> line(new Line);
  line->fd_ = UniqueFd(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!line->fd_.valid()) fail("posix_openpt");
  if (::grantpt(line->fd_.get()) != 0 || ::unlockpt(line->fd_.get()) != 0) fail("unlockpt");
  char name[128] = {};
  if (::ptsname_r(line->fd_.get(), name, sizeof name) != 0) fail("ptsname");
  line->slavePath_ = name;
  line->keptSlave_ = UniqueFd(::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!line->keptSlave_.valid()) fail("open " + line->slavePath_);
  // A new pseudo-terminal is cooked: CR would turn into LF and input be echoed.
  makeRaw(line->keptSlave_.get(), line->slavePath_);
  if (!linkPath.empty()) {
    makeLink(line->slavePath_, linkPath);
    line->linkPath_ = linkPath;
  }
  return line;
}

std::unique_ptr<Line> Line::OpenDevice(const std::string& path, int bitsPerSecond) {
  std::unique_ptr<Line> line(new Line);
  line->fd_ = UniqueFd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!line->fd_.valid()) fail("open " + path);
  line->slavePath_ = path;
  makeRaw(line->fd_.get(), path);
  if (!WriteLineSpeed(line->fd_.get(), bitsPerSecond)) fail("set speed of " + path);
  ::tcflush(line->fd_.get(), TCIOFLUSH);
  return line;
}

Line::~Line() {
  if (linkPath_.empty()) return;
  // Remove the link only if it is still ours.
  char target[256] = {};
  const ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
  if (n > 0 && slavePath_ == std::string(target, static_cast<std::size_t>(n))) {
    ::unlink(linkPath_.c_str());
  }
}

int Line::unreadAtFarEnd() const {
  int waiting = 0;
  if (!isPseudoTerminal() || ::ioctl(keptSlave_.get(), FIONREAD, &waiting) != 0) return 0;
  return waiting;
}

int Line::speed() const { return ReadLineSpeed(fd_.get()); }

bool Line::setDeviceSpeed(int bitsPerSecond) {
  if (isPseudoTerminal()) return true;
  // Let the reply at the old speed leave the wire first.
  ::tcdrain(fd_.get());
  return WriteLineSpeed(fd_.get(), bitsPerSecond);
}

}  // namespace sim
