#include <cstdlib>

#include "oplog/log_path.h"

namespace oplog {

// UTF-16: a user name, and with it the folder, is often Cyrillic, which the
// narrow variables give in the ANSI code page, if at all.
std::optional<std::filesystem::path> OperationsLogPath() {
  const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
  if (local == nullptr || local[0] == L'\0') return std::nullopt;
  return std::filesystem::path(local) / L"ULM5" / L"operations.log";
}

}  // namespace oplog
