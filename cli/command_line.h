#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/terminal.h"

namespace cli {

// Parses the arguments after the program name. Empty when the program is to
// end at once: after --help (`exitCode` 0, the help on `out`) or a bad
// argument (`exitCode` 2, the reason on `err`).
std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, Terminal& terminal,
                                        int& exitCode);

}  // namespace cli
