#pragma once

#include <filesystem>
#include <optional>

namespace oplog {

// Where the log of writes lives: $XDG_STATE_HOME/ulm5/operations.log (by
// default ~/.local/state/ulm5) on Linux, %LOCALAPPDATA%\ULM5\operations.log
// on Windows. Empty when the environment names no such folder. Read anew at
// each call.
std::optional<std::filesystem::path> OperationsLogPath();

}  // namespace oplog
