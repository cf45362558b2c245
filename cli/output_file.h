#pragma once

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

namespace cli {

// An output file named on the command line, opened at once so that a path
// that cannot be written is known before the instrument is asked. "-" is
// standard output. A regular file, or one not there yet, is written whole or
// not at all: the text goes to "FILE.part" beside it, which replaces it on
// commit and is removed otherwise; a symbolic link is followed and stays a
// link. Anything else (a named pipe, a terminal, /dev/stdout) is written
// directly: renaming a file over it would replace the device or the link.
class OutputFile {
 public:
  OutputFile(std::string path, std::ostream& standardOutput);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool isOpen() const { return out_ == &standardOutput_ || stream_.is_open(); }
  // "standard output" or the path as given.
  std::string name() const;
  bool commit(const std::string& text);

 private:
  std::string path_;
  std::ostream& standardOutput_;
  std::filesystem::path target_;  // the file the text replaces; empty when written directly
  std::filesystem::path partPath_;
  std::ofstream stream_;
  std::ostream* out_ = nullptr;
  bool committed_ = false;
};

}  // namespace cli
