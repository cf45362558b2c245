#pragma once

#include <ostream>

namespace cli {

// Where the program talks: results to `out`, messages and progress to `err`.
// A progress line is drawn only when `err` is a terminal.
struct Terminal {
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;
};

}  // namespace cli
