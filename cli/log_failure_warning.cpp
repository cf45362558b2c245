#include "cli/log_failure_warning.h"

namespace cli {

namespace {

#ifdef _WIN32
constexpr const char* kPlace = "LOCALAPPDATA is not set";
#else
constexpr const char* kPlace = "neither XDG_STATE_HOME nor HOME is set";
#endif

std::string text(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return {utf8.begin(), utf8.end()};
}

}  // namespace

std::string LogFailureWarning(const oplog::LogFailure& failure) {
  using Kind = oplog::LogFailure::Kind;
  std::string cause;
  switch (failure.kind) {
    case Kind::kNoPlace:
      cause = kPlace;
      break;
    case Kind::kNoFolder:
      cause = "cannot make the folder " + text(failure.path) + ": " + failure.error.message();
      break;
    case Kind::kNoFile:
      cause = text(failure.path) + ": " + failure.error.message();
      break;
  }
  return "the log of writes was not written (Журнал не записан): " + cause;
}

}  // namespace cli
