#pragma once

#include <vector>

#include "backup/configuration.h"
#include "backup/write_plan.h"
#include "backup/write_replay.h"
#include "cli/terminal_sink.h"

namespace cli {

class Session;

// The planned writes over the session, with a progress line. A unit
// addressed by its own address is followed to a new one, and a new speed is
// chosen for the writes after it, each with a note. Ctrl+C (an
// InterruptWatch held by the caller) stops before the next write; the one
// under way finishes. A write that fails is reported as the link's failure.
backup::ReplayEnd ReplayOnTerminal(Session& session, const std::vector<backup::PlannedWrite>& plan,
                                   backup::Progress& progress);

// Every register written, as read back; the differing ones are reported.
bool ReadBackMatches(const std::vector<backup::PlannedWrite>& plan,
                     const backup::Configuration& read, TerminalSink& messages);

}  // namespace cli
