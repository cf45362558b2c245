// Any bytes as a backup file: a refusal with its reason, or a backup that
// is written back out and read again to the same bytes. Never a crash.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/backup_file.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto backup = cli::DecodeBackup(text, error);
  if (!backup) {
    require(!error.empty());
    return 0;
  }
  const std::string again = cli::EncodeBackup(*backup);
  std::string secondError;
  const auto reread = cli::DecodeBackup(again, secondError);
  require(reread.has_value());
  require(reread->identification == backup->identification);
  require(reread->configuration.raw == backup->configuration.raw);
  require(cli::EncodeBackup(*reread) == again);
  return 0;
}
