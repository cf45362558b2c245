#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>

#include "backup/backup_fields.h"
#include "backup/backup_file.h"
#include "backup/write_plan.h"
#include "backup/write_replay.h"
#include "cli/command_context.h"
#include "cli/configuration_read.h"
#include "cli/interrupt_watch.h"
#include "cli/link_settings.h"
#include "cli/terminal_replay.h"
#include "cli/write_states.h"

namespace cli {

namespace {

using json = nlohmann::ordered_json;
using backup::BackupField;
using backup::BlockChoice;
using backup::Configuration;
using backup::PlannedWrite;

// The typed text as the value of a control: a JSON value the control takes
// (a list position, true or false), else the text itself (an edit field).
bool assign(const BackupField& field, Configuration& c, const std::string& text) {
  // A list item by its name: "general.speed=115200" is position 6.
  const auto& names = field.itemNames;
  if (const auto item = std::find(names.begin(), names.end(), text); item != names.end()) {
    return field.setValue(c, json(item - names.begin()));
  }
  const json parsed = json::parse(text, nullptr, false);
  return (!parsed.is_discarded() && field.setValue(c, parsed)) || field.setValue(c, json(text));
}

// "setpoint1.value=85.0", or a check box or list of a flags byte by its
// name: "setpoint1.flags.enabled=true". The field named is added to
// `named`. False with `error` set when the field is not known or does not
// take the value.
bool apply(const std::string& assignment, Configuration& c, BlockChoice& blocks,
           std::set<const BackupField*>& named, std::string& error) {
  const size_t equals = assignment.find('=');
  if (equals == std::string::npos) {
    error = assignment + ": not FIELD=VALUE";
    return false;
  }
  std::string name = assignment.substr(0, equals);
  const std::string text = assignment.substr(equals + 1);
  const BackupField* field = backup::BackupFieldNamed(name);
  std::string member;
  if (!field) {
    const size_t dot = name.rfind('.');
    field = dot == std::string::npos ? nullptr : backup::BackupFieldNamed(name.substr(0, dot));
    if (field && field->value) {
      member = name.substr(dot + 1);
      if (!field->value(c).contains(member)) field = nullptr;
    } else {
      field = nullptr;
    }
  }
  if (!field || !field->setValue) {
    error = name + ": no such field (the names are those of a backup)";
    return false;
  }
  bool taken = false;
  if (member.empty()) {
    taken = assign(*field, c, text);
  } else {
    // Through its text, as a backup reads it: list positions as unsigned numbers.
    json flags = json::parse(field->value(c).dump());
    flags[member] = json::parse(text, nullptr, false);
    taken = !flags[member].is_discarded() && field->setValue(c, flags);
  }
  if (!taken) {
    error = name + ": " + text + " is not a value of this field";
    return false;
  }
  backup::Choose(blocks, field->block);
  named.insert(field);
  return true;
}

// Every byte a write sends that belongs to no named field goes out as read,
// and a named byte of flags changes only in the bits its controls carry;
// otherwise the byte is named and false returned.
bool leavesTheRestAsRead(const std::vector<PlannedWrite>& plan, const Configuration& read,
                         const std::set<const BackupField*>& named, TerminalSink& messages) {
  std::set<const BackupField*> reported;
  bool kept = true;
  for (const PlannedWrite& planned : plan) {
    for (int32_t address = planned.firstAddress(); address < planned.endAddress(); ++address) {
      const BackupField* field = backup::BackupFieldAt(address);
      const auto was = read.raw.at(address);
      const uint8_t sent = planned.byteAt(address);
      if (!was || *was == sent) continue;
      const uint8_t changeable = !field ? 0 : named.contains(field) ? field->writableBits : 0;
      if (((*was ^ sent) & ~changeable) == 0) continue;
      kept = false;
      if (field && !reported.insert(field).second) continue;
      const auto hex = [](uint8_t byte) {
        return backup::HexBytes(std::string(1, static_cast<char>(byte)));
      };
      const std::string what = field ? field->name : "register " + std::to_string(address / 2);
      messages.fail("refused: " + what + " reads " + hex(*was) + " and would be written as " +
                    hex(sent) + " by the window's write of " + RegistersOf(planned) + " (" +
                    (changeable ? "bits it writes as 0" : "not named") + ")");
    }
  }
  return kept;
}

}  // namespace

ExitCode RunSet(CommandContext& context) {
  const Options& options = context.options;
  TerminalSink& messages = context.messages;
  const InterruptWatch interrupt;
  ExitCode code = ExitCode::kDone;
  const auto session = context.connect(code);
  if (!session) return code;
  Configuration read;
  messages.setConfirmationsShown(false);
  code = ReadConfiguration(*session, read);
  if (code != ExitCode::kDone) return code;

  Configuration changed = read;
  BlockChoice blocks{false, false, false};
  std::set<const BackupField*> named;
  for (const std::string& assignment : options.assignments) {
    std::string error;
    if (!apply(assignment, changed, blocks, named, error)) {
      messages.fail(error + "; nothing was written");
      return ExitCode::kRefused;
    }
  }
  // The window's own checks: the field's mask, then its operations' own
  // checks, with nothing sent yet.
  for (const BackupField* field : named) {
    const std::string refusal = field->refusal ? field->refusal(changed) : std::string();
    if (refusal.empty()) continue;
    messages.fail("refused: " + field->name + ": " + refusal + "; nothing was written");
    return ExitCode::kRefused;
  }
  std::vector<PlannedWrite> plan;
  if (!backup::PlanWrites(changed, blocks, messages, plan)) {
    messages.fail("refused; nothing was written");
    return ExitCode::kRefused;
  }
  // Only the writes that carry a named field go out.
  std::erase_if(plan, [&](const PlannedWrite& planned) {
    return std::none_of(named.begin(), named.end(),
                        [&](const BackupField* field) { return planned.covers(field->address); });
  });
  if (!leavesTheRestAsRead(plan, read, named, messages)) {
    messages.fail(
        "refused: the window's writes would change what was not named; nothing was "
        "written");
    return ExitCode::kRefused;
  }
  for (const BackupField& field : backup::BackupFields()) {
    if (!field.value || field.value(read) == field.value(changed)) continue;
    messages.note(field.name + ": " + field.value(read).dump() + " -> " +
                  field.value(changed).dump());
  }
  const auto current = read.raw.at(backup::BackupFieldNamed("general.address")->address);
  if (!NewAddressIsFree(*session, plan, current.value_or(0), code)) return code;

  backup::Progress progress = backup::PlannedProgress(plan);
  const backup::ReplayEnd end = ReplayOnTerminal(*session, plan, progress);
  if (end != backup::ReplayEnd::kDone) {
    const std::string states = BlockStates(blocks, progress);
    if (end == backup::ReplayEnd::kCancelled) {
      messages.note("cancelled after the write under way: " + states);
      return InterruptWatch::exitCode();
    }
    messages.fail("stopped: " + states);
    return session->failureExitCode();
  }
  Configuration readBack;
  code = ReadConfiguration(*session, readBack);
  if (code != ExitCode::kDone) return code;
  if (!ReadBackMatches(plan, readBack, messages)) return ExitCode::kDiffers;
  messages.note("written; every register written reads back as written");
  return ExitCode::kDone;
}

}  // namespace cli
