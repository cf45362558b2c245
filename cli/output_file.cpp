#include "cli/output_file.h"

#include <system_error>
#include <utility>

#include "cli/native_file_name.h"

namespace cli {

OutputFile::OutputFile(std::string path)
    : path_(std::move(path)),
      partPath_(path_ + ".part"),
      stream_(NativeFileName(partPath_), std::ios::binary | std::ios::trunc) {}

OutputFile::~OutputFile() {
  if (committed_) return;
  stream_.close();
  std::error_code ignored;
  std::filesystem::remove(NativeFileName(partPath_), ignored);
}

bool OutputFile::commit(const std::string& text) {
  stream_ << text;
  stream_.close();
  if (!stream_) return false;
  // Replaces a file of that name, on Windows too (where C's rename refuses).
  std::error_code error;
  std::filesystem::rename(NativeFileName(partPath_), NativeFileName(path_), error);
  if (error) return false;
  committed_ = true;
  return true;
}

}  // namespace cli
