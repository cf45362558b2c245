#include <cstdlib>

#include "oplog/log_path.h"

namespace oplog {

namespace {

// The base directory specification ignores a relative path in its variables.
std::optional<std::filesystem::path> absolute(const char* value) {
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return std::filesystem::path(value);
}

}  // namespace

std::optional<std::filesystem::path> OperationsLogPath() {
  auto state = absolute(std::getenv("XDG_STATE_HOME"));
  if (!state) {
    const auto home = absolute(std::getenv("HOME"));
    if (!home) return std::nullopt;
    state = *home / ".local" / "state";
  }
  return *state / "ulm5" / "operations.log";
}

}  // namespace oplog
