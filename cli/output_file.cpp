#include "cli/output_file.h"

#include <system_error>
#include <utility>

#include "cli/native_file_name.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kStandardOutput = "-";
constexpr int kMostLinks = 40;  // as the kernel allows in one path

// The path behind a chain of symbolic links, also when its end does not
// exist yet.
fs::path linkTarget(fs::path path) {
  std::error_code error;
  for (int i = 0; i < kMostLinks && fs::is_symlink(fs::symlink_status(path, error)); ++i) {
    const fs::path next = fs::read_symlink(path, error);
    if (error) break;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

}  // namespace

OutputFile::OutputFile(std::string path, std::ostream& standardOutput)
    : path_(std::move(path)), standardOutput_(standardOutput) {
  if (path_ == kStandardOutput) {
    out_ = &standardOutput_;
    return;
  }
  const fs::path named = NativeFileName(path_);
  std::error_code error;
  const fs::file_status status = fs::status(named, error);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    stream_.open(named, std::ios::binary | std::ios::out);
  } else {
    target_ = linkTarget(named);
    partPath_ = target_;
    partPath_ += ".part";
    stream_.open(partPath_, std::ios::binary | std::ios::trunc);
  }
  out_ = &stream_;
}

OutputFile::~OutputFile() {
  if (committed_ || target_.empty()) return;
  stream_.close();
  std::error_code ignored;
  fs::remove(partPath_, ignored);
}

std::string OutputFile::name() const {
  return out_ == &standardOutput_ ? std::string("standard output") : path_;
}

bool OutputFile::commit(const std::string& text) {
  *out_ << text << std::flush;
  if (out_ == &standardOutput_) return static_cast<bool>(*out_);
  stream_.close();
  if (!stream_) return false;
  if (!target_.empty()) {
    // Replaces a file of that name, on Windows too (where C's rename refuses).
    std::error_code error;
    fs::rename(partPath_, target_, error);
    if (error) return false;
  }
  committed_ = true;
  return true;
}

}  // namespace cli
