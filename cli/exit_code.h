#pragma once

namespace cli {

// What ulm5-cli returns; scripts on a production line branch on it.
enum class ExitCode {
  kDone = 0,
  kDiffers = 1,        // diff found differences; a restore reads back other values
  kBadArguments = 2,   // also a file named on the command line that cannot be opened
  kPortError = 3,      // "Не могу открыть порт"
  kNoConnection = 4,   // the instrument did not answer
  kRefused = 5,        // input refused before anything was written; the message names it
  kInterrupted = 130,  // Ctrl+C: the request under way finished, nothing more was sent
};

}  // namespace cli
