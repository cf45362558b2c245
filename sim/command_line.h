#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/simulator.h"

namespace sim {

struct ProgramOptions {
  SimulatorOptions simulator;
  int tcpPort = -1;  // -1: no TCP peer
  bool help = false;
  bool version = false;
};

// Names of the faults on the command line ("silent", "bad-lrc", ...).
std::optional<Fault> FaultByName(std::string_view name);

// Parses the arguments after the program name. On a bad argument returns
// nullopt and puts the message into `error`.
std::optional<ProgramOptions> ParseCommandLine(const std::vector<std::string>& args,
                                               std::string& error);

// What --help prints.
std::string HelpText();

}  // namespace sim
