#include "cli/native_file_name.h"

#include <windows.h>

#include <string_view>

namespace cli {

namespace {

std::wstring wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(),
                        size);
  return result;
}

std::wstring fullPath(const std::wstring& name) {
  const DWORD size = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (size == 0) return name;
  std::wstring full(size, L'\0');
  const DWORD length = ::GetFullPathNameW(name.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return name;
  full.resize(length);
  return full;
}

// A plain path reaches a file only while it is shorter than MAX_PATH, and a
// folder only below MAX_PATH - 12 (room for an 8.3 name). Past that only the
// long form "\\?\" does, which takes a full path as it stands: backslashes
// only, no "." or "..", as GetFullPathNameW gives it.
constexpr size_t kLongestPlainPath = MAX_PATH - 12 - 1;

}  // namespace

std::filesystem::path NativeFileName(const std::string& utf8Name) {
  const std::wstring name = wide(utf8Name);
  const std::wstring full = fullPath(name);
  if (full.size() <= kLongestPlainPath) return name;
  const std::wstring_view view(full);
  // Already a device or long-form name ("\\.\COM12", "\\?\C:\...").
  if (view.starts_with(LR"(\\.\)") || view.starts_with(LR"(\\?\)")) return full;
  if (view.starts_with(LR"(\\)")) return LR"(\\?\UNC\)" + full.substr(2);
  return LR"(\\?\)" + full;
}

}  // namespace cli
