#include "backup/write_plan.h"

#include "backup/backup_fields.h"

namespace backup {

namespace {

// The operations' view when nothing is sent.
class DryRunControls final : public device::OperationControls {
 public:
  device::ConnectionSelection connection() const override { return {}; }
  void stopMeasurementTimer() override {}
  void setButtonEnabled(bool) override {}
};

}  // namespace

bool PlanWrites(const Configuration& configuration, const BlockChoice& blocks,
                device::MessageSink& messages, std::vector<PlannedWrite>& plan) {
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

std::string FieldNamesOf(const PlannedWrite& planned) {
  return FieldNamesAt(planned.firstAddress(), planned.endAddress() - planned.firstAddress());
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

}  // namespace backup
