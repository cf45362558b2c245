#pragma once

#include <string>
#include <vector>

#include "cli/terminal.h"
#include "modbus/platform_services.h"

namespace cli {

// The whole program on the arguments after its name; returns the exit code.
// `tick` replaces the real millisecond tick (time-scaled in tests).
int Run(const std::vector<std::string>& args, Terminal& terminal,
        modbus::TickSource* tick = nullptr);

}  // namespace cli
