#pragma once

#include <array>
#include <iterator>
#include <string>
#include <vector>

#include "cli/session.h"
#include "cli/write_plan.h"

namespace cli {

struct BlockProgress {
  int planned = 0;   // writes to send
  int written = 0;   // writes answered
  int heldBack = 0;  // writes not sent because they carry a skipped field
  // "HR 0..1": the write that was sent and not answered; the instrument may
  // hold it or not.
  std::string unconfirmed;
  std::string withheld;  // why none of the block is written, when it is chosen but kept back
};
using Progress = std::array<BlockProgress, std::size(kBlocks)>;

enum class ReplayEnd { kDone, kFailed, kInterrupted };

// The planned writes one by one, in order, with a progress line. A new
// interface speed is in force in the instrument once its write was
// answered, so the writes after it go at that speed; a new network address
// likewise, when the instrument is addressed by its own. Ctrl+C (an
// InterruptWatch held by the caller) stops before the next write; the one
// under way finishes. `progress` counts the writes done by block and keeps
// the one sent but not confirmed.
ReplayEnd Replay(Session& session, const std::vector<PlannedWrite>& plan, Progress& progress,
                 TerminalSink& messages);

// "written", "not written", "partly written (2 of 6 writes)", "unknown: ...".
std::string StateOf(const BlockProgress& progress);

// The writes of the plan, counted by block.
Progress PlannedProgress(const std::vector<PlannedWrite>& plan);

// "HR 13..22"
std::string RegistersOf(const PlannedWrite& planned);

// The state of each chosen block: "general settings: written; ...".
std::string BlockStates(const BlockChoice& blocks, const Progress& progress);

// Every register written, as read back; the differing ones are reported.
bool ReadBackMatches(const std::vector<PlannedWrite>& plan, const Configuration& read,
                     TerminalSink& messages);

}  // namespace cli
