#include <unistd.h>

#include <iostream>

#include "cli/run.h"

int main(int argc, char** argv) {
  cli::Terminal terminal{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1};
  return cli::Run(std::vector<std::string>(argv + 1, argv + argc), terminal);
}
