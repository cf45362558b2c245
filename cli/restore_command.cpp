#include <nlohmann/json.hpp>
#include <set>

#include "cli/backup_fields.h"
#include "cli/backup_input.h"
#include "cli/command_context.h"
#include "cli/interrupt_watch.h"
#include "cli/unwritable_fields.h"
#include "cli/write_plan.h"
#include "cli/write_replay.h"

namespace cli {

namespace {

using json = nlohmann::ordered_json;

// Every byte the writes would send must be the byte of the file: a text the
// window's fields cannot carry exactly would go out altered. With
// `valuesWin` a text that disagrees with its bytes is taken, and the new
// bytes are listed.
bool checkWrites(const std::vector<PlannedWrite>& plan, const Configuration& c, bool valuesWin,
                 TerminalSink& messages) {
  std::set<const BackupField*> reported;
  bool match = true;
  for (const PlannedWrite& planned : plan) {
    const CapturingLink::Write& write = planned.write;
    for (size_t i = 0; i < write.data.size(); ++i) {
      const int32_t address = 2 * write.start + static_cast<int32_t>(i);
      if (c.raw.at(address) == static_cast<uint8_t>(write.data[i])) continue;
      const BackupField* field = BackupFieldAt(address);
      if (!field) {
        match = false;
        messages.fail("refused: no value in the file for register " + std::to_string(address / 2));
        continue;
      }
      if (!reported.insert(field).second) continue;
      const size_t first = static_cast<size_t>(field->address - 2 * write.start);
      const std::string sent =
          HexBytes(write.data.substr(first, static_cast<size_t>(field->width)));
      const auto held = c.raw.bytes(field->reg(), field->byte(), field->width);
      const std::string inFile = held ? HexBytes(*held) : std::string();
      std::string value;
      if (field->value) value = ' ' + field->value(c).dump();
      if (valuesWin && field->value) {
        messages.note("from the value: " + field->name + value + " goes out as " + sent +
                      " (the file's bytes: " + inFile + ")");
        continue;
      }
      match = false;
      messages.fail("refused: " + field->name + value + " would be written as " + sent +
                    ", the file holds " + inFile);
    }
  }
  return match;
}

void printWrites(const std::vector<PlannedWrite>& plan, std::ostream& out) {
  for (const PlannedWrite& planned : plan) {
    const CapturingLink::Write& write = planned.write;
    out << "write HR " << write.start;
    if (write.count > 1) out << ".." << write.start + write.count - 1;
    out << ": " << HexBytes(write.data) << "  ("
        << FieldNamesAt(2 * write.start, static_cast<int>(write.data.size())) << ")\n";
  }
}

}  // namespace

ExitCode RunRestore(CommandContext& context) {
  const Options& options = context.options;
  TerminalSink& messages = context.messages;
  Backup backup;
  ExitCode code = LoadBackup(options.file, messages, backup);
  if (code != ExitCode::kDone) return code;
  BlockChoice blocks = options.only;

  const std::vector<UnwritableField> unwritable = UnwritableFields(backup.configuration, blocks);
  for (const UnwritableField& u : unwritable) {
    const std::string text = u.field->name + " cannot be written as it is: " + u.reason;
    if (options.skipUnwritable) {
      messages.note("skipped: " + text);
    } else {
      messages.fail(text);
    }
  }
  if (!unwritable.empty() && !options.skipUnwritable) {
    messages.fail(options.file +
                  " refused: --skip-unwritable writes every other field; nothing "
                  "was sent");
    return ExitCode::kRefused;
  }
  const Configuration configuration = WithoutUnwritable(backup.configuration, unwritable);

  // The window's own write operations, with nothing sent, give what goes out.
  messages.setConfirmationsShown(false);
  std::vector<PlannedWrite> plan;
  if (!PlanWrites(configuration, blocks, messages, plan) ||
      !checkWrites(plan, configuration, options.fromValues, messages)) {
    messages.fail(options.file + " refused; nothing was sent");
    return ExitCode::kRefused;
  }
  plan = SkippingUnwritable(plan, unwritable);
  if (options.dryRun) {
    printWrites(plan, context.terminal.out);
    return ExitCode::kDone;
  }

  Identification found;
  const auto session = context.connectIdentified(found, code);
  if (!session) return code;
  const device::IdentificationBlock& instrument = found.block;
  const device::IdentificationBlock saved = backup.instrument();
  if (instrument.typeCode != saved.typeCode) {
    messages.fail("refused: the instrument is of type code " + std::to_string(instrument.typeCode) +
                  ", the backup of " + std::to_string(saved.typeCode) + "; nothing was written");
    return ExitCode::kRefused;
  }
  // Calibration coefficients belong to one unit.
  const bool otherUnit = instrument.serial != saved.serial;
  if (otherUnit && blocks.calibration) {
    const std::string serials = "the backup is of serial number " + std::to_string(saved.serial) +
                                ", the instrument is " + std::to_string(instrument.serial);
    if (options.withCalibration) {
      messages.note(serials + "; its calibration coefficients are written as asked");
    } else {
      messages.note(serials +
                    "; the calibration coefficients are not written "
                    "(--with-calibration writes them)");
      blocks.calibration = false;
      std::erase_if(plan, [](const PlannedWrite& p) { return p.block == Block::kCalibration; });
    }
  }

  Progress progress;
  for (const PlannedWrite& planned : plan) ++progress[static_cast<size_t>(planned.block)].planned;
  const InterruptWatch interrupt;
  const ReplayEnd end = Replay(*session, plan, progress, messages);
  json summary = {{"file", options.file},
                  {"backupSerialNumber", saved.serial},
                  {"instrumentSerialNumber", instrument.serial},
                  {"blocks", json::object()},
                  {"skipped", json::array()}};
  for (const Block block : kBlocks) {
    summary["blocks"][BlockName(block)] = StateOf(progress[static_cast<size_t>(block)]);
  }
  for (const UnwritableField& u : unwritable) summary["skipped"].push_back(u.field->name);
  const auto finish = [&](ExitCode exit, const char* outcome) {
    summary["outcome"] = outcome;
    summary["exitCode"] = static_cast<int>(exit);
    if (options.json) context.terminal.out << summary.dump() << '\n';
    return exit;
  };

  if (end != ReplayEnd::kDone) {
    const std::string states = BlockStates(blocks, progress);
    if (end == ReplayEnd::kInterrupted) {
      messages.note("cancelled after the write under way: " + states);
      return finish(ExitCode::kInterrupted, "cancelled");
    }
    messages.fail("restore stopped: " + states);
    return finish(ExitCodeOf(device::OperationOutcome::kNoConnection), "failed");
  }

  Configuration readBack;
  code = ReadConfiguration(*session, readBack);
  if (code != ExitCode::kDone) return finish(code, "read back failed");
  if (!ReadBackMatches(plan, readBack, messages)) return finish(ExitCode::kDiffers, "differs");
  messages.note("restored from " + options.file + "; every register written reads back as written");
  return finish(ExitCode::kDone, "restored");
}

}  // namespace cli
