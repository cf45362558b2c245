#pragma once

#include "backup/configuration.h"
#include "cli/exit_code.h"

namespace cli {

class Session;

// The three reads of the window's pages over the session, with a progress
// line for each.
ExitCode ReadConfiguration(Session& session, backup::Configuration& configuration);

}  // namespace cli
