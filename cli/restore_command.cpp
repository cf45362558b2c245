#include <nlohmann/json.hpp>

#include "backup/altered_fields.h"
#include "backup/backup_fields.h"
#include "backup/link_settings.h"
#include "backup/target_check.h"
#include "backup/unwritable_fields.h"
#include "backup/write_plan.h"
#include "backup/write_replay.h"
#include "cli/backup_input.h"
#include "cli/backup_words.h"
#include "cli/command_context.h"
#include "cli/configuration_read.h"
#include "cli/interrupt_watch.h"
#include "cli/link_settings.h"
#include "cli/terminal_replay.h"
#include "cli/write_states.h"

namespace cli {

namespace {

using json = nlohmann::ordered_json;
using backup::Block;
using backup::BlockChoice;
using backup::Configuration;
using backup::HexBytes;
using backup::PlannedWrite;
using backup::Progress;

// Every byte the writes would send must be the byte of the file: a text the
// window's fields cannot carry exactly would go out altered. With
// `valuesWin` a text that disagrees with its bytes is taken, if the
// window's field takes it, and the new bytes are listed.
bool checkWrites(const std::vector<PlannedWrite>& plan, const Configuration& c, bool valuesWin,
                 TerminalSink& messages) {
  bool match = true;
  for (const backup::AlteredField& altered : backup::AlteredFields(plan, c)) {
    const backup::BackupField* field = altered.field;
    if (!field) {
      match = false;
      messages.fail("refused: no value in the file for register " +
                    std::to_string(altered.address / 2));
      continue;
    }
    const std::string sent = HexBytes(altered.sent);
    const std::string inFile = altered.held ? HexBytes(*altered.held) : std::string();
    std::string value;
    if (field->value) value = ' ' + field->value(c).dump();
    if (valuesWin && field->value) {
      if (const std::string refusal = field->refusal ? field->refusal(c) : std::string();
          !refusal.empty()) {
        match = false;
        messages.fail("refused: " + field->name + ": " + refusal);
        continue;
      }
      messages.note("from the value: " + field->name + value + " goes out as " + sent +
                    " (the file's bytes: " + inFile + ")");
      continue;
    }
    match = false;
    messages.fail("refused: " + field->name + value + " would be written as " + sent +
                  ", the file holds " + inFile);
  }
  return match;
}

// The bytes a write sends, "--" for those the instrument keeps as they are.
std::string shownBytes(const PlannedWrite& planned, bool linkKept) {
  std::string text;
  for (int32_t address = planned.firstAddress(); address < planned.endAddress(); ++address) {
    bool kept = false;
    for (const backup::BackupField* field : backup::LinkSettingFields())
      kept = kept || field->covers(address);
    if (!text.empty()) text += ' ';
    text += linkKept && kept ? "--"
                             : HexBytes(std::string(1, static_cast<char>(planned.byteAt(address))));
  }
  return text;
}

std::string serialText(const device::IdentificationBlock& block) {
  return device::FormatIdentification(block).serial;
}

// The summary of --json, printed once whatever the ending.
class Summary {
 public:
  explicit Summary(const CommandContext& context) : context_(context) {
    document_ = {{"file", context.options.file}};
  }

  void identified(const device::IdentificationBlock& backup,
                  const device::IdentificationBlock* instrument) {
    document_["backupSerialNumber"] = serialText(backup);
    document_["instrumentSerialNumber"] = instrument ? json(serialText(*instrument)) : json();
  }
  void blocks(const Progress& progress, const std::string& withheldReason = {}) {
    json states = json::object();
    for (const Block block : backup::kBlocks) {
      states[BlockName(block)] = StateOf(progress[static_cast<size_t>(block)], withheldReason);
    }
    document_["blocks"] = states;
  }
  void listed(const char* key, const json& names) { document_[key] = names; }

  ExitCode finish(ExitCode code, const char* outcome) {
    document_["outcome"] = outcome;
    if (code != ExitCode::kDone && !context_.messages.lastFailure().empty()) {
      document_["cause"] = context_.messages.lastFailure();
    }
    document_["exitCode"] = static_cast<int>(code);
    if (context_.options.json) context_.terminal.out << document_.dump() << '\n';
    return code;
  }

 private:
  const CommandContext& context_;
  json document_;
};

// --dry-run: each write with its fields, as lines or as a JSON list.
json printWrites(const std::vector<PlannedWrite>& plan, bool linkKept, bool asJson,
                 std::ostream& out) {
  json writes = json::array();
  for (const PlannedWrite& planned : plan) {
    const std::string fields = backup::FieldNamesOf(planned);
    if (asJson) {
      writes.push_back({{"start", planned.write.start},
                        {"count", planned.write.count},
                        {"hex", shownBytes(planned, linkKept)},
                        {"fields", fields}});
    } else {
      out << "write " << RegistersOf(planned) << ": " << shownBytes(planned, linkKept) << "  ("
          << fields << ")\n";
    }
  }
  return writes;
}

}  // namespace

ExitCode RunRestore(CommandContext& context) {
  const Options& options = context.options;
  TerminalSink& messages = context.messages;
  Summary summary(context);
  Progress progress;
  summary.blocks(progress);
  backup::Backup backup;
  ExitCode code = LoadBackup(options.file, messages, backup);
  if (code != ExitCode::kDone) return summary.finish(code, "refused");
  const device::IdentificationBlock saved = backup.instrument();
  summary.identified(saved, nullptr);
  BlockChoice blocks = options.only;

  const std::vector<backup::UnwritableField> unwritable =
      backup::UnwritableFields(backup.configuration, blocks);
  json skipped = json::array();
  for (const backup::UnwritableField& u : unwritable) {
    const std::string text =
        u.field->name + " cannot be written as it is: " + UnwritableReasonText(u);
    skipped.push_back(u.field->name);
    if (options.skipUnwritable) {
      messages.note("skipped: " + text);
    } else {
      messages.fail(text);
    }
  }
  summary.listed("skipped", skipped);
  if (!unwritable.empty() && !options.skipUnwritable) {
    messages.fail(options.file +
                  " refused: --skip-unwritable writes every other field; nothing "
                  "was sent");
    return summary.finish(ExitCode::kRefused, "refused");
  }
  const Configuration configuration = backup::WithoutUnwritable(backup.configuration, unwritable);

  // The window's own write operations, with nothing sent, give what goes out.
  messages.setConfirmationsShown(false);
  std::vector<PlannedWrite> plan;
  if (!backup::PlanWrites(configuration, blocks, messages, plan) ||
      !checkWrites(plan, configuration, options.fromValues, messages)) {
    messages.fail(options.file + " refused; nothing was sent");
    return summary.finish(ExitCode::kRefused, "refused");
  }
  std::vector<PlannedWrite> heldBack;
  plan = backup::SkippingUnwritable(plan, unwritable, heldBack);
  json heldBackFields = json::array();
  for (const PlannedWrite& planned : heldBack) {
    const std::string names = backup::FieldNamesOf(planned);
    messages.note("not written with the skipped fields: " + RegistersOf(planned) + " (" + names +
                  ")");
    heldBackFields.push_back(names);
  }
  summary.listed("heldBack", heldBackFields);
  const bool linkKept = blocks.general && !options.withLink;
  if (options.dryRun) {
    summary.listed("writes", printWrites(plan, linkKept, options.json, context.terminal.out));
    return summary.finish(ExitCode::kDone, "dry run");
  }

  const InterruptWatch interrupt;
  backup::Identification found;
  const auto session = context.connectIdentified(found, code);
  if (!session) return summary.finish(code, "failed");
  const device::IdentificationBlock& instrument = found.block;
  summary.identified(saved, &instrument);
  const backup::Target target = backup::TargetOf(saved, instrument);
  if (target == backup::Target::kOtherType) {
    messages.fail("refused: the instrument is of type code " + std::to_string(instrument.typeCode) +
                  ", the backup of " + std::to_string(saved.typeCode) + "; nothing was written");
    return summary.finish(ExitCode::kRefused, "refused");
  }
  // Calibration coefficients belong to one unit.
  std::string withheld;
  if (target == backup::Target::kOtherUnit && blocks.calibration) {
    const std::string serials = "the backup is of serial number " + serialText(saved) +
                                ", the instrument is " + serialText(instrument);
    if (options.withCalibration) {
      messages.note(serials + "; its calibration coefficients are written as asked");
    } else {
      messages.note(serials +
                    "; the calibration coefficients are not written "
                    "(--with-calibration writes them)");
      withheld = "the serial numbers differ (" + serialText(saved) + " in the backup, " +
                 serialText(instrument) + " in the instrument)";
      backup::WithholdCalibration(plan);
    }
  }

  // The instrument's own place on the line: kept, or moved as the file says.
  if (blocks.general) {
    Configuration now;
    backup::CapturingLink capture(&session->link());
    backup::ConfigurationPages pages(now);
    const device::OperationOutcome read =
        device::ReadGeneralSettings(capture, *session, pages, messages);
    if (read != device::OperationOutcome::kDone) {
      return summary.finish(session->exitCodeOf(read), "failed");
    }
    if (linkKept) {
      for (const std::string& name : backup::KeepLinkSettings(plan, capture.read())) {
        messages.note(name + " stays as the instrument has it (--with-link writes the backup's)");
      }
    } else {
      const auto current = capture.read().at(backup::BackupFieldNamed("general.address")->address);
      if (!NewAddressIsFree(*session, plan, current.value_or(0), code)) {
        return summary.finish(code, "refused");
      }
    }
  }

  progress = backup::PlannedProgress(plan);
  for (const PlannedWrite& planned : heldBack) {
    ++progress[static_cast<size_t>(planned.block)].heldBack;
  }
  progress[static_cast<size_t>(Block::kCalibration)].withheld = !withheld.empty();
  summary.blocks(progress, withheld);
  if (plan.empty()) {
    messages.fail("nothing was written: " + (withheld.empty() ? "no write is left" : withheld));
    return summary.finish(ExitCode::kRefused, "refused");
  }

  const backup::ReplayEnd end = ReplayOnTerminal(*session, plan, progress);
  summary.blocks(progress, withheld);
  if (end != backup::ReplayEnd::kDone) {
    const std::string states = BlockStates(blocks, progress, withheld);
    if (end == backup::ReplayEnd::kCancelled) {
      messages.note("cancelled after the write under way: " + states);
      return summary.finish(InterruptWatch::exitCode(), "cancelled");
    }
    messages.fail("restore stopped: " + states);
    return summary.finish(session->failureExitCode(), "failed");
  }

  Configuration readBack;
  code = ReadConfiguration(*session, readBack);
  if (code != ExitCode::kDone) {
    messages.fail("every write was answered; the read-back did not end: " +
                  BlockStates(blocks, progress, withheld));
    return summary.finish(code, "read back failed");
  }
  if (!ReadBackMatches(plan, readBack, messages)) {
    return summary.finish(ExitCode::kDiffers, "differs");
  }
  messages.note("restored from " + options.file + "; every register written reads back as written");
  return summary.finish(ExitCode::kDone, "restored");
}

}  // namespace cli
