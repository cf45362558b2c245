#include "cli/backup_input.h"

#include <fstream>
#include <sstream>

namespace cli {

ExitCode LoadBackup(const std::string& path, TerminalSink& messages, Backup& backup) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    messages.fail("cannot read " + path);
    return ExitCode::kBadArguments;
  }
  std::ostringstream text;
  text << file.rdbuf();
  std::string error;
  auto decoded = DecodeBackup(text.str(), error);
  if (decoded && decoded->instrument().typeCode != device::kUlm5TypeCode) {
    error = "the backup is of another instrument (type code " +
            std::to_string(decoded->instrument().typeCode) + ")";
    decoded.reset();
  }
  if (!decoded) {
    messages.fail(path + " refused: " + error + "; nothing was sent");
    return ExitCode::kRefused;
  }
  backup = std::move(*decoded);
  return ExitCode::kDone;
}

}  // namespace cli
