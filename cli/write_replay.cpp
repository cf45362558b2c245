#include "cli/write_replay.h"

#include "cli/backup_fields.h"
#include "cli/backup_file.h"
#include "cli/interrupt_watch.h"
#include "device/link_messages.h"
#include "device/reply_length.h"
#include "modbus/exchange.h"
#include "modbus/result_codes.h"

namespace cli {

ReplayEnd Replay(Session& session, const std::vector<PlannedWrite>& plan, Progress& progress,
                 TerminalSink& messages) {
  const BackupField& speed = *BackupFieldNamed("general.speed");
  const BackupField& address = *BackupFieldNamed("general.address");
  AddressedLink& link = session.link();
  for (size_t i = 0; i < plan.size(); ++i) {
    if (InterruptWatch::requested()) return ReplayEnd::kInterrupted;
    const PlannedWrite& planned = plan[i];
    const CapturingLink::Write& write = planned.write;
    BlockProgress& block = progress[static_cast<size_t>(planned.block)];
    messages.progress("writing " + std::string(BlockName(planned.block)) + ", " +
                      std::to_string(i + 1) + " of " + std::to_string(plan.size()));
    link.parameters().portNumber = session.choice().portNumber;
    link.parameters().baudIndex = session.choice().baudIndex;
    link.parameters().timing = device::kStandardTiming;
    if (!device::IsWriteSuccess(
            link.writeMultipleRegisters(write.start, write.count, write.data))) {
      const LinkFailure& failure = link.lastFailure();
      if (failure.cancelled) return ReplayEnd::kInterrupted;
      // An exception reply says the instrument did not carry the write out;
      // silence or a garbled reply says nothing either way.
      const bool refused = !failure.anotherTalker && failure.code == modbus::kExceptionReply;
      if (failure.sent && !refused) block.unconfirmed = RegistersOf(planned);
      messages.error(device::kNoConnectionText);
      return ReplayEnd::kFailed;
    }
    ++block.written;
    if (planned.covers(address.address) && link.address() != 0 &&
        planned.byteAt(address.address) != link.address()) {
      link.setAddress(planned.byteAt(address.address));
      messages.note("the instrument now answers address " + std::to_string(link.address()) +
                    "; the rest goes there");
    }
    if (!planned.covers(speed.address)) continue;
    const int newSpeed = planned.byteAt(speed.address);
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
  const int total = p.planned + p.heldBack;
  if (!p.withheld.empty()) return "not written: " + p.withheld;
  if (total == 0) return "not chosen";
  const std::string confirmed =
      std::to_string(p.written) + " of " + std::to_string(total) + " writes";
  if (!p.unconfirmed.empty()) {
    return "unknown: the write of " + p.unconfirmed + " was sent but not confirmed" +
           (p.written > 0 ? " (" + confirmed + " confirmed before it)" : "");
  }
  if (p.written == total) return "written";
  if (p.written == 0) return "not written";
  return "partly written (" + confirmed + ")";
}

Progress PlannedProgress(const std::vector<PlannedWrite>& plan) {
  Progress progress;
  for (const PlannedWrite& planned : plan) ++progress[static_cast<size_t>(planned.block)].planned;
  return progress;
}

std::string RegistersOf(const PlannedWrite& planned) {
  const CapturingLink::Write& write = planned.write;
  std::string text = "HR " + std::to_string(write.start);
  if (write.count > 1) text += ".." + std::to_string(write.start + write.count - 1);
  return text;
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
