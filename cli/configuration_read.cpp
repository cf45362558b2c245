#include "cli/configuration_read.h"

#include <string>

#include "cli/session.h"
#include "cli/write_states.h"

namespace cli {

ExitCode ReadConfiguration(Session& session, backup::Configuration& configuration) {
  TerminalSink& messages = session.messages();
  const auto outcome = backup::ReadConfiguration(
      session.link(), session, messages,
      [&](backup::Block block) { messages.progress(std::string("reading ") + BlockName(block)); },
      configuration);
  messages.endProgress();
  return session.exitCodeOf(outcome);
}

}  // namespace cli
