#pragma once

#include <filesystem>
#include <system_error>

namespace oplog {

// Why a line of the log could not be written. Each program words it in its
// own language.
struct LogFailure {
  enum class Kind {
    kNoPlace,   // no folder to keep it in: neither variable of the platform is set
    kNoFolder,  // the folder could not be made
    kNoFile,    // the file could not be opened, or the line not written whole
  };
  Kind kind = Kind::kNoPlace;
  std::filesystem::path path;  // the folder (kNoFolder) or the file
  std::error_code error;       // the system's, where it said why
};

}  // namespace oplog
