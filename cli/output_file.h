#pragma once

#include <fstream>
#include <string>

namespace cli {

// A file written only when complete: the text goes to "PATH.part", which
// replaces PATH on commit and is removed otherwise. Opened at once, so that
// a path that cannot be written is known before the instrument is asked.
class OutputFile {
 public:
  explicit OutputFile(std::string path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool isOpen() const { return stream_.is_open(); }
  const std::string& path() const { return path_; }
  bool commit(const std::string& text);

 private:
  std::string path_;
  std::string partPath_;
  std::ofstream stream_;
  bool committed_ = false;
};

}  // namespace cli
