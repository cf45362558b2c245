#include "cli/write_replay.h"

#include "cli/backup_fields.h"
#include "cli/backup_file.h"
#include "cli/interrupt_watch.h"
#include "device/link_messages.h"
#include "device/reply_length.h"
#include "modbus/exchange.h"

namespace cli {

ReplayEnd Replay(Session& session, const std::vector<PlannedWrite>& plan, Progress& progress,
                 TerminalSink& messages) {
  const BackupField& speed = *BackupFieldNamed("general.speed");
  AddressedLink& link = session.link();
  for (size_t i = 0; i < plan.size(); ++i) {
    if (InterruptWatch::requested()) return ReplayEnd::kInterrupted;
    const PlannedWrite& planned = plan[i];
    const CapturingLink::Write& write = planned.write;
    messages.progress("writing " + std::string(BlockName(planned.block)) + ", " +
                      std::to_string(i + 1) + " of " + std::to_string(plan.size()));
    link.parameters().portNumber = session.choice().portNumber;
    link.parameters().baudIndex = session.choice().baudIndex;
    link.parameters().timing = device::kStandardTiming;
    if (!device::IsWriteSuccess(
            link.writeMultipleRegisters(write.start, write.count, write.data))) {
      messages.error(device::kNoConnectionText);
      return ReplayEnd::kFailed;
    }
    ++progress[static_cast<size_t>(planned.block)].written;
    const int32_t offset = speed.address - 2 * write.start;
    if (offset < 0 || offset >= static_cast<int32_t>(write.data.size())) continue;
    const int newSpeed = static_cast<uint8_t>(write.data[static_cast<size_t>(offset)]);
    if (newSpeed == session.choice().baudIndex || modbus::BaudRateOfIndex(newSpeed) == 0) continue;
    session.selectBaudIndex(newSpeed);
    messages.note("the instrument now listens at " +
                  std::to_string(modbus::BaudRateOfIndex(newSpeed)) +
                  " bit/s; the rest is written at that speed");
  }
  messages.endProgress();
  return ReplayEnd::kDone;
}

std::string StateOf(const BlockProgress& p) {
  if (p.planned == 0) return "not chosen";
  if (p.written == p.planned) return "written";
  if (p.written == 0) return "not written";
  return "partly written (" + std::to_string(p.written) + " of " + std::to_string(p.planned) +
         " writes)";
}

std::string BlockStates(const BlockChoice& blocks, const Progress& progress) {
  std::string states;
  for (const Block block : kBlocks) {
    if (!Chosen(blocks, block)) continue;
    states += std::string(states.empty() ? "" : "; ") + BlockName(block) + ": " +
              StateOf(progress[static_cast<size_t>(block)]);
  }
  return states;
}

bool ReadBackMatches(const std::vector<PlannedWrite>& plan, const Configuration& read,
                     TerminalSink& messages) {
  bool match = true;
  for (const PlannedWrite& planned : plan) {
    const CapturingLink::Write& write = planned.write;
    for (int32_t r = 0; r < write.count; ++r) {
      const int32_t reg = write.start + r;
      const modbus::ByteString written = write.data.substr(2 * static_cast<size_t>(r), 2);
      const auto now = read.raw.bytes(reg, 0, 2);
      if (now == written) continue;
      match = false;
      messages.fail("register " + std::to_string(reg) + " (" + FieldNamesAt(2 * reg, 2) +
                    "): written " + HexBytes(written) + ", reads " +
                    (now ? HexBytes(*now) : std::string("nothing")));
    }
  }
  return match;
}

}  // namespace cli
