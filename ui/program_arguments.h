#pragma once

#include <optional>
#include <string>

// The arguments the configurator answers before Qt starts, so that they need
// no display: what to print and the exit code. Nothing for any other
// arguments, which go to Qt (-platform, -style, ...).
struct ProgramAnswer {
  std::string text;
  int exitCode = 0;
};

std::optional<ProgramAnswer> AnswerWithoutWindow(int argc, const char* const argv[]);
