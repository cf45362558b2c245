#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "oplog/append_to_file.h"

namespace oplog {

namespace {

std::error_code lastError() { return {errno, std::system_category()}; }

}  // namespace

// O_APPEND moves to the end and writes as one step, for every process that
// has the file open.
std::error_code AppendToFile(const std::filesystem::path& file, std::string_view bytes) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644);
  if (fd < 0) return lastError();
  ssize_t written = 0;
  do {
    written = ::write(fd, bytes.data(), bytes.size());
  } while (written < 0 && errno == EINTR);
  std::error_code error;
  if (written < 0)
    error = lastError();
  else if (static_cast<size_t>(written) != bytes.size())
    error =
        std::make_error_code(std::errc::no_space_on_device);  // the usual cause of a short write
  if (::close(fd) != 0 && !error) error = lastError();
  return error;
}

}  // namespace oplog
