#include "cli/write_states.h"

namespace cli {

const char* BlockName(backup::Block block) {
  switch (block) {
    case backup::Block::kGeneral:
      return "general settings";
    case backup::Block::kSetpoints:
      return "scale and setpoints";
    case backup::Block::kCalibration:
      return "calibration coefficients";
  }
  return "";
}

std::string StateOf(const backup::BlockProgress& p, const std::string& withheldReason) {
  const int total = p.planned + p.heldBack;
  if (p.withheld) return "not written: " + withheldReason;
  if (total == 0) return "not chosen";
  const std::string confirmed =
      std::to_string(p.written) + " of " + std::to_string(total) + " writes";
  if (p.unconfirmed) {
    return "unknown: the write of " + RegistersOf(*p.unconfirmed) + " was sent but not confirmed" +
           (p.written > 0 ? " (" + confirmed + " confirmed before it)" : "");
  }
  if (p.written == total) return "written";
  if (p.written == 0) return "not written";
  return "partly written (" + confirmed + ")";
}

std::string RegistersOf(const backup::PlannedWrite& planned) {
  const backup::CapturingLink::Write& write = planned.write;
  std::string text = "HR " + std::to_string(write.start);
  if (write.count > 1) text += ".." + std::to_string(write.start + write.count - 1);
  return text;
}

std::string BlockStates(const backup::BlockChoice& blocks, const backup::Progress& progress,
                        const std::string& withheldReason) {
  std::string states;
  for (const backup::Block block : backup::kBlocks) {
    if (!backup::Chosen(blocks, block)) continue;
    states += std::string(states.empty() ? "" : "; ") + BlockName(block) + ": " +
              StateOf(progress[static_cast<size_t>(block)], withheldReason);
  }
  return states;
}

}  // namespace cli
