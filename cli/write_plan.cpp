#include "cli/write_plan.h"

#include "cli/backup_fields.h"

namespace cli {

namespace {

// The operations' view when nothing is sent.
class DryRunControls final : public device::OperationControls {
 public:
  device::ConnectionSelection connection() const override { return {}; }
  void stopMeasurementTimer() override {}
  void setButtonEnabled(bool) override {}
};

}  // namespace

const char* BlockName(Block block) {
  switch (block) {
    case Block::kGeneral:
      return "general settings";
    case Block::kSetpoints:
      return "scale and setpoints";
    case Block::kCalibration:
      return "calibration coefficients";
  }
  return "";
}

bool Chosen(const BlockChoice& choice, Block block) {
  switch (block) {
    case Block::kGeneral:
      return choice.general;
    case Block::kSetpoints:
      return choice.setpoints;
    case Block::kCalibration:
      return choice.calibration;
  }
  return false;
}

bool PlanWrites(const Configuration& configuration, const BlockChoice& blocks,
                TerminalSink& messages, std::vector<PlannedWrite>& plan) {
  Configuration fields = configuration;
  ConfigurationPages pages(fields);
  DryRunControls controls;
  for (const Block block : kBlocks) {
    if (!Chosen(blocks, block)) continue;
    CapturingLink dryRun;
    device::OperationOutcome outcome = device::OperationOutcome::kDone;
    switch (block) {
      case Block::kGeneral:
        outcome = device::WriteGeneralSettings(dryRun, controls, pages, messages);
        break;
      case Block::kSetpoints:
        outcome = device::WriteSetpoints(dryRun, controls, pages, messages, configuration.keptByte,
                                         kBackupDecimalSeparator);
        break;
      case Block::kCalibration:
        outcome = device::WriteCalibrationCoefficients(dryRun, controls, pages, messages,
                                                       kBackupDecimalSeparator);
        break;
    }
    if (outcome != device::OperationOutcome::kDone) return false;
    for (const CapturingLink::Write& write : dryRun.writes()) plan.push_back({block, write});
  }
  return true;
}

std::vector<PlannedWrite> WithoutRegisters(const std::vector<PlannedWrite>& plan, int32_t reg,
                                           int32_t count) {
  std::vector<PlannedWrite> cut;
  for (const PlannedWrite& planned : plan) {
    const CapturingLink::Write& w = planned.write;
    const int32_t end = w.start + w.count;
    if (reg + count <= w.start || reg >= end) {
      cut.push_back(planned);
      continue;
    }
    const auto piece = [&](int32_t from, int32_t to) {
      if (to <= from) return;
      const auto offset = static_cast<size_t>(2 * (from - w.start));
      cut.push_back({planned.block,
                     {from, to - from, w.data.substr(offset, 2 * static_cast<size_t>(to - from))}});
    };
    piece(w.start, reg);
    piece(reg + count, end);
  }
  return cut;
}

std::string FieldNamesAt(int32_t address, int width) {
  std::string names;
  const BackupField* last = nullptr;
  for (int32_t at = address; at < address + width; ++at) {
    const BackupField* field = BackupFieldAt(at);
    if (!field || field == last) continue;
    if (!names.empty()) names += ", ";
    names += field->name;
    last = field;
  }
  return names;
}

}  // namespace cli
