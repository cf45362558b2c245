#include <windows.h>

#include <limits>

#include "oplog/append_to_file.h"

namespace oplog {

namespace {

std::error_code lastError() { return {static_cast<int>(::GetLastError()), std::system_category()}; }

// Closes the handle on every way out.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (valid()) ::CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

// With append access only (no FILE_WRITE_DATA) every WriteFile goes to the
// end of the file as one step, for every process that has it open; the
// sharing lets another program append or read meanwhile.
std::error_code AppendToFile(const std::filesystem::path& file, std::string_view bytes) {
  const Handle handle(::CreateFileW(file.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.valid()) return lastError();
  if (bytes.size() > std::numeric_limits<DWORD>::max())
    return std::make_error_code(std::errc::file_too_large);
  DWORD written = 0;
  if (!::WriteFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    return lastError();
  if (written != bytes.size()) return std::make_error_code(std::errc::no_space_on_device);
  return {};
}

}  // namespace oplog
