// "Загрузить конфигурацию…": the file's configuration into the instrument.

#include <QStringList>
#include <QWidget>
#include <algorithm>

#include "backup/altered_fields.h"
#include "backup/configuration_comparison.h"
#include "backup/link_settings.h"
#include "backup/read_back.h"
#include "backup/target_check.h"
#include "backup/unwritable_fields.h"
#include "backup/write_plan.h"
#include "backup/write_replay.h"
#include "backup/write_report.h"
#include "device/block_writes.h"
#include "device/link_messages.h"
#include "device/write_block_names.h"
#include "ui/backup_field_texts.h"
#include "ui/backup_messages.h"
#include "ui/configuration_changes_dialog.h"
#include "ui/configuration_files.h"
#include "ui/held_messages.h"

namespace {

// The window's writes: at the panel's port and speed as the operation began,
// nothing cancels them once confirmed (the window's other writes run whole
// too), and a failed request is judged by its reply alone.
class WindowReplayHost final : public backup::ReplayHost {
 public:
  WindowReplayHost(device::RegisterLink& link, const device::ConnectionSelection& connection)
      : link_(link), connection_(connection) {}

  device::RegisterLink& link() override { return link_; }
  device::ConnectionSelection connection() const override { return connection_; }
  bool cancelRequested() const override { return false; }
  void writing(const backup::PlannedWrite&, size_t, size_t) override {}
  backup::WriteFailure failureOf(const modbus::ExchangeResult& reply) const override {
    return device::FateOf(reply) == device::BlockFate::kUnconfirmed
               ? backup::WriteFailure::kUnconfirmed
               : backup::WriteFailure::kNotCarriedOut;
  }
  // The unit keeps its own address and speed (KeepLinkSettings): these
  // follow a change only should a plan ever carry one.
  void addressWritten(uint8_t) override {}
  void speedChanged(int baudIndex) override { connection_.baudIndex = baudIndex; }

 private:
  device::RegisterLink& link_;
  device::ConnectionSelection connection_;
};

// The labels of the fields, each once, in order: "Адрес в сети, Скорость".
template <typename Fields>
std::string labels(const Fields& fields) {
  std::string text;
  for (const backup::BackupField* field : fields) {
    text += (text.empty() ? "" : ", ") + FieldLabel(*field).toStdString();
  }
  return text;
}

bool sent(const std::vector<backup::PlannedWrite>& plan, const backup::BackupField& field) {
  for (const backup::PlannedWrite& planned : plan) {
    if (planned.covers(field.address)) return true;
  }
  return false;
}

}  // namespace

void ConfigurationFiles::load(device::RegisterLink& link, device::OperationControls& controls,
                              device::MessageSink& messages) {
  const auto opened = readFileAndInstrument(FileAction::kLoad, link, controls, messages);
  if (!opened) return;
  const std::string path = opened->path.toStdString();
  const backup::Backup& file = opened->file;
  const Instrument& instrument = opened->instrument;
  const std::string refused = "Файл не принят: " + path + "\n";
  const device::IdentificationBlock saved = file.instrument();
  const device::IdentificationBlock& connected = instrument.identification.block;
  const backup::Target target = backup::TargetOf(saved, connected);
  if (target == backup::Target::kOtherType) {
    messages.error(refused + "Прибор другого типа (код типа " + std::to_string(connected.typeCode) +
                   ", в файле " + std::to_string(saved.typeCode) + ")\nНичего не записано");
    return;
  }

  // What goes out, planned by the window's own write operations with nothing sent.
  const backup::BlockChoice everything;
  const auto unwritable = backup::UnwritableFields(file.configuration, everything);
  const backup::Configuration configuration =
      backup::WithoutUnwritable(file.configuration, unwritable);
  HeldMessages checks;
  std::vector<backup::PlannedWrite> plan;
  if (!backup::PlanWrites(configuration, everything, checks, plan)) {
    messages.error(refused + checks.firstError() + "\nНичего не записано");
    return;
  }
  // A text the window's field cannot carry exactly would go out altered.
  std::vector<const backup::BackupField*> altered;
  for (const backup::AlteredField& a : backup::AlteredFields(plan, configuration)) {
    if (a.field) altered.push_back(a.field);
  }
  if (!altered.empty()) {
    messages.error(refused + "Значения не совпадают со своими байтами: " + labels(altered) +
                   "\nНичего не записано");
    return;
  }
  std::vector<backup::PlannedWrite> heldBack;
  plan = backup::SkippingUnwritable(plan, unwritable, heldBack);
  const std::vector<std::string> keptNames =
      backup::KeepLinkSettings(plan, instrument.configuration.raw);

  // The dialog: what the writes change, and what they leave as it is.
  std::vector<const backup::BackupField*> kept;
  for (const std::string& name : keptNames) kept.push_back(backup::BackupFieldNamed(name));
  ConfigurationChangesDialog::Contents contents;
  contents.heading = QString::fromStdString(opened->heading());
  for (const backup::BackupField* field :
       backup::DifferingFields(instrument.configuration, file.configuration)) {
    if (!sent(plan, *field) || std::find(kept.begin(), kept.end(), field) != kept.end()) continue;
    for (DifferenceRow& row : DifferenceRows(*field, instrument.configuration, file.configuration))
      contents.rows.push_back(std::move(row));
  }
  if (target == backup::Target::kOtherUnit) {
    contents.otherUnit =
        QString::fromStdString("Записать коэффициенты калибровки из файла другого прибора (№ " +
                               device::FormatIdentification(saved).serial + ")");
  }
  if (!kept.empty()) {
    contents.notes << QString::fromStdString("Остаются как в приборе: " + labels(kept) +
                                             " (их записывает «Записать в прибор» общих настроек)");
  }
  for (const backup::UnwritableField& u : unwritable)
    contents.notes << QString::fromStdString("Не записывается: " + UnwritableText(u));
  for (const backup::PlannedWrite& planned : heldBack) {
    contents.notes << QString::fromStdString("Не записывается вместе с ними: " +
                                             device::WriteBlockNameAt(planned.write.start));
  }
  if (contents.rows.empty()) {
    messages.confirmation("Прибор уже хранит конфигурацию из файла " + path +
                          "\nНичего не записано");
    return;
  }
  ConfigurationChangesDialog dialog(contents, &window_);
  // A window closed meanwhile (a termination request) writes nothing: its
  // link carries a write begun, and this one has not begun.
  if (run(dialog) != QDialog::Accepted || !window_.isVisible()) return;

  std::vector<backup::PlannedWrite> withheld;
  if (target == backup::Target::kOtherUnit && !dialog.calibrationChosen()) {
    for (const backup::PlannedWrite& planned : plan) {
      if (planned.block == backup::Block::kCalibration) withheld.push_back(planned);
    }
    backup::WithholdCalibration(plan);
  }
  WindowReplayHost host(link, controls.connection());
  backup::Progress progress = backup::PlannedProgress(plan);
  const backup::ReplayEnd end = backup::Replay(host, plan, progress);
  device::BlockWriteReport report = backup::WriteReportOf(plan, progress);
  for (const auto* left : {&withheld, &heldBack}) {
    for (const backup::PlannedWrite& planned : *left)
      report.add(device::WriteBlockNameAt(planned.write.start), device::BlockFate::kNotWritten);
  }
  if (end != backup::ReplayEnd::kDone) {
    messages.error(device::ReportedFailure(device::kNoConnectionText, report));
    return;
  }

  HeldMessages readBack;
  backup::Configuration after;
  if (backup::ReadConfiguration(link, controls, readBack, {}, after) !=
      device::OperationOutcome::kDone) {
    messages.error(device::ReportedFailure(
        "Записи подтверждены, проверочное чтение не удалось: " + readBack.firstError(), report));
    return;
  }
  std::vector<const backup::BackupField*> differing;
  for (const backup::ReadBackDifference& d : backup::ReadBackDifferences(plan, after)) {
    for (const int32_t address : {2 * d.reg, 2 * d.reg + 1}) {
      const backup::BackupField* field = backup::BackupFieldAt(address);
      if (field && std::find(differing.begin(), differing.end(), field) == differing.end())
        differing.push_back(field);
    }
  }
  if (!differing.empty()) {
    messages.error(
        device::ReportedFailure("Прибор хранит не то, что записано: " + labels(differing), report));
    return;
  }
  std::string text = "Конфигурация загружена из файла " + path + "\n" + report.details();
  if (!withheld.empty()) {
    text += "\nКоэффициенты калибровки не записаны: файл прибора № " +
            device::FormatIdentification(saved).serial;
  }
  messages.confirmation(text);
}
