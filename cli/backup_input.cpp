#include "cli/backup_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cli {

namespace {

// A backup is a few kB; anything larger is not one, and a device such as
// /dev/zero never ends.
constexpr size_t kLargestBackup = 1 << 20;

// Windows opens files in text mode unless told otherwise; the bytes are
// wanted as they are.
#ifdef _WIN32
constexpr int kReadFlags = O_RDONLY | O_BINARY;
#else
constexpr int kReadFlags = O_RDONLY | O_CLOEXEC;
#endif

enum class ReadOutcome { kRead, kUnreadable, kTooLarge };

ReadOutcome readBounded(const std::string& path, std::string& text, std::string& reason) {
  const int fd = ::open(path.c_str(), kReadFlags);
  if (fd < 0) {
    reason = std::strerror(errno);
    return ReadOutcome::kUnreadable;
  }
  struct stat status {};
  if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
    ::close(fd);
    reason = "a directory";
    return ReadOutcome::kUnreadable;
  }
  char buffer[65536];
  ReadOutcome outcome = ReadOutcome::kRead;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      reason = std::strerror(errno);
      outcome = ReadOutcome::kUnreadable;
      break;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<size_t>(n));
    if (text.size() > kLargestBackup) {
      outcome = ReadOutcome::kTooLarge;
      break;
    }
  }
  ::close(fd);
  return outcome;
}

}  // namespace

ExitCode LoadBackup(const std::string& path, TerminalSink& messages, Backup& backup) {
  std::string text;
  std::string reason;
  switch (readBounded(path, text, reason)) {
    case ReadOutcome::kUnreadable:
      messages.fail("cannot read " + path + ": " + reason);
      return ExitCode::kBadArguments;
    case ReadOutcome::kTooLarge:
      messages.fail(path + " refused: larger than 1 MiB, not a backup; nothing was sent");
      return ExitCode::kRefused;
    case ReadOutcome::kRead:
      break;
  }
  std::string error;
  auto decoded = DecodeBackup(text, error);
  if (decoded && decoded->instrument().typeCode != device::kUlm5TypeCode) {
    error = "the backup is of another instrument (type code " +
            std::to_string(decoded->instrument().typeCode) + ")";
    decoded.reset();
  }
  if (!decoded) {
    messages.fail(path + " refused: " + error + "; nothing was sent");
    return ExitCode::kRefused;
  }
  backup = std::move(*decoded);
  return ExitCode::kDone;
}

}  // namespace cli
