#include "cli/backup_input.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "backup/backup_reader.h"
#include "cli/backup_words.h"
#include "cli/native_file_name.h"

namespace cli {

namespace {

// Up to one byte more than the largest backup, so that a larger file is told
// from one that fits.
bool readBounded(const std::string& path, std::string& text, std::string& reason) {
  const std::filesystem::path name = NativeFileName(path);
  std::error_code ignored;
  if (std::filesystem::is_directory(name, ignored)) {
    reason = "a directory";
    return false;
  }
  errno = 0;
  std::ifstream file(name, std::ios::binary);
  if (!file) {
    reason = errno != 0 ? std::strerror(errno) : "cannot be opened";
    return false;
  }
  char buffer[65536];
  while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
    text.append(buffer, static_cast<size_t>(file.gcount()));
    if (text.size() > backup::kLargestBackup) return true;
  }
  if (file.bad()) {
    reason = "a read error";
    return false;
  }
  return true;
}

}  // namespace

ExitCode LoadBackup(const std::string& path, TerminalSink& messages, backup::Backup& backup) {
  std::string text;
  std::string reason;
  if (!readBounded(path, text, reason)) {
    messages.fail("cannot read " + path + ": " + reason);
    return ExitCode::kBadArguments;
  }
  backup::BackupError error;
  auto read = backup::ReadBackup(text, error);
  if (!read) {
    messages.fail(path + " refused: " + BackupErrorText(error) + "; nothing was sent");
    return ExitCode::kRefused;
  }
  backup = std::move(*read);
  return ExitCode::kDone;
}

}  // namespace cli
