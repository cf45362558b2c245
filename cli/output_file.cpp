#include "cli/output_file.h"

#include <cstdio>
#include <utility>

namespace cli {

OutputFile::OutputFile(std::string path)
    : path_(std::move(path)),
      partPath_(path_ + ".part"),
      stream_(partPath_, std::ios::binary | std::ios::trunc) {}

OutputFile::~OutputFile() {
  if (committed_) return;
  stream_.close();
  std::remove(partPath_.c_str());
}

bool OutputFile::commit(const std::string& text) {
  stream_ << text;
  stream_.close();
  if (!stream_ || std::rename(partPath_.c_str(), path_.c_str()) != 0) return false;
  committed_ = true;
  return true;
}

}  // namespace cli
