#include <windows.h>

#include <string>

#include "cli/failure_cause.h"

namespace cli {
namespace {

std::wstring widen(const std::string& text) {
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

}  // namespace

// The port is tried as the backend opens it: exclusively. Windows refuses a
// port another program holds with a denied access or a sharing violation.
// One that opens here but not for the backend is claimed by another copy of
// this program (the claim the backend makes because Wine shares devices).
std::string PortOpenCause(const std::string& devicePath) {
  const std::wstring name = widen(devicePath);
  if (name.empty()) return devicePath + " does not exist";
  const HANDLE port = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    switch (error) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
        return devicePath + " does not exist";
      case ERROR_ACCESS_DENIED:
      case ERROR_SHARING_VIOLATION:
        return devicePath + " is held by another program";
      default:
        return devicePath + " could not be opened (error " + std::to_string(error) + ")";
    }
  }
  DCB state{};
  state.DCBlength = sizeof state;
  const bool serial = ::GetCommState(port, &state) != FALSE;
  ::CloseHandle(port);
  return serial ? devicePath + " is held by another program" : devicePath + " is not a serial port";
}

}  // namespace cli
