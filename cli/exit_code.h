#pragma once

namespace cli {

// What ulm5-cli returns; scripts on a production line branch on it.
enum class ExitCode {
  kDone = 0,
  kDiffers = 1,         // diff found differences; a restore reads back other values
  kBadArguments = 2,    // also a file named on the command line that cannot be opened
  kPortError = 3,       // "Не могу открыть порт", or the port went away
  kNoConnection = 4,    // the instrument did not answer, or more than one did
  kRefused = 5,         // input refused before anything was written; the message names it
  kExceptionReply = 6,  // the instrument refused a request with an exception reply
  kInterrupted = 130,   // Ctrl+C: the request under way finished, nothing more was sent
  kHangUp = 129,        // SIGHUP, handled as Ctrl+C
  kTerminated = 143,    // SIGTERM, handled as Ctrl+C
};

}  // namespace cli
