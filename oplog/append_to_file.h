#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace oplog {

// Appends `bytes` to the end of the file, made if missing, in one write: two
// programs appending at once never mix their lines. The system's error, if
// any.
std::error_code AppendToFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace oplog
