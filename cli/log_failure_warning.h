#pragma once

#include <string>

#include "oplog/log_failure.h"

namespace cli {

// Why the log of writes misses the session's line, in English with the
// window's text alongside.
std::string LogFailureWarning(const oplog::LogFailure& failure);

}  // namespace cli
