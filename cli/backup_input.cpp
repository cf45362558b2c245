#include "cli/backup_input.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "cli/native_file_name.h"

namespace cli {

namespace {

// A backup is a few kB; anything larger is not one, and a device such as
// /dev/zero never ends.
constexpr size_t kLargestBackup = 1 << 20;

enum class ReadOutcome { kRead, kUnreadable, kTooLarge };

ReadOutcome readBounded(const std::string& path, std::string& text, std::string& reason) {
  const std::filesystem::path name = NativeFileName(path);
  std::error_code ignored;
  if (std::filesystem::is_directory(name, ignored)) {
    reason = "a directory";
    return ReadOutcome::kUnreadable;
  }
  errno = 0;
  std::ifstream file(name, std::ios::binary);
  if (!file) {
    reason = errno != 0 ? std::strerror(errno) : "cannot be opened";
    return ReadOutcome::kUnreadable;
  }
  char buffer[65536];
  while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
    text.append(buffer, static_cast<size_t>(file.gcount()));
    if (text.size() > kLargestBackup) return ReadOutcome::kTooLarge;
  }
  if (file.bad()) {
    reason = "a read error";
    return ReadOutcome::kUnreadable;
  }
  return ReadOutcome::kRead;
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
