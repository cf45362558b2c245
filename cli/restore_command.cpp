#include <set>
#include <sstream>

#include "cli/backup_fields.h"
#include "cli/backup_input.h"
#include "cli/capturing_link.h"
#include "cli/command_context.h"
#include "modbus/exchange.h"

namespace cli {

namespace {

// The operations' view when nothing is sent.
class DryRunControls final : public device::OperationControls {
 public:
  device::ConnectionSelection connection() const override { return {}; }
  void stopMeasurementTimer() override {}
  void setButtonEnabled(bool) override {}
};

std::string namesAt(int32_t address, int width) {
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

// Every byte the writes would send must be the byte of the file: a text the
// window's fields cannot carry exactly, or a reserved byte the window writes
// as 0, would go out altered.
bool writesMatch(const std::vector<CapturingLink::Write>& writes, const Configuration& c,
                 TerminalSink& messages) {
  std::set<const BackupField*> reported;
  bool match = true;
  for (const CapturingLink::Write& write : writes) {
    for (size_t i = 0; i < write.data.size(); ++i) {
      const int32_t address = 2 * write.start + static_cast<int32_t>(i);
      if (c.raw.at(address) == static_cast<uint8_t>(write.data[i])) continue;
      match = false;
      const BackupField* field = BackupFieldAt(address);
      if (!field) {
        messages.fail("refused: no value in the file for register " + std::to_string(address / 2));
        continue;
      }
      if (!reported.insert(field).second) continue;
      const size_t first = static_cast<size_t>(field->address - 2 * write.start);
      const auto held = c.raw.bytes(field->reg(), field->byte(), field->width);
      messages.fail("refused: " + field->name +
                    (field->value ? " " + field->value(c).dump() : std::string()) +
                    " would be written as " +
                    HexBytes(write.data.substr(first, static_cast<size_t>(field->width))) +
                    ", the file holds " + (held ? HexBytes(*held) : std::string()));
    }
  }
  return match;
}

void printWrites(const std::vector<CapturingLink::Write>& writes, std::ostream& out) {
  for (const CapturingLink::Write& write : writes) {
    out << "write HR " << write.start;
    if (write.count > 1) out << ".." << write.start + write.count - 1;
    out << ": " << HexBytes(write.data) << "  ("
        << namesAt(2 * write.start, static_cast<int>(write.data.size())) << ")\n";
  }
}

// Every register written, as read back; the differing ones are reported.
bool readBackMatches(const std::vector<CapturingLink::Write>& writes, const Configuration& read,
                     TerminalSink& messages) {
  bool match = true;
  for (const CapturingLink::Write& write : writes) {
    for (int32_t r = 0; r < write.count; ++r) {
      const int32_t reg = write.start + r;
      const modbus::ByteString written = write.data.substr(2 * static_cast<size_t>(r), 2);
      const auto now = read.raw.bytes(reg, 0, 2);
      if (now == written) continue;
      match = false;
      messages.fail("register " + std::to_string(reg) + " (" + namesAt(2 * reg, 2) + "): written " +
                    HexBytes(written) + ", reads " +
                    (now ? HexBytes(*now) : std::string("nothing")));
    }
  }
  return match;
}

}  // namespace

ExitCode RunRestore(CommandContext& context) {
  Backup backup;
  ExitCode code = LoadBackup(context.options.file, context.messages, backup);
  if (code != ExitCode::kDone) return code;
  const Configuration& configuration = backup.configuration;

  // The window's own write operations, with nothing sent, show what would
  // go out.
  CapturingLink dryRun;
  DryRunControls dryControls;
  context.messages.setConfirmationsShown(false);
  if (WriteConfiguration(dryRun, dryControls, configuration, context.messages) !=
          device::OperationOutcome::kDone ||
      !writesMatch(dryRun.writes(), configuration, context.messages)) {
    context.messages.fail(context.options.file + " refused; nothing was sent");
    return ExitCode::kRefused;
  }
  if (context.options.dryRun) {
    printWrites(dryRun.writes(), context.terminal.out);
    return ExitCode::kDone;
  }

  Identification found;
  const auto session = context.connectIdentified(found, code);
  if (!session) return code;
  const device::IdentificationBlock& instrument = found.block;
  if (instrument.typeCode != backup.instrument().typeCode) {
    context.messages.fail("refused: the instrument is of type code " +
                          std::to_string(instrument.typeCode) + ", the backup of " +
                          std::to_string(backup.instrument().typeCode) + "; nothing was written");
    return ExitCode::kRefused;
  }
  if (instrument.serial != backup.instrument().serial) {
    context.messages.note("restoring the backup of serial number " +
                          std::to_string(backup.instrument().serial) + " onto " +
                          std::to_string(instrument.serial));
  }

  // The instrument takes a new interface speed right after the first write of
  // the general settings, so the rest of them is written again at that speed,
  // as the user of the window would.
  const int speed = configuration.general.baudIndex;
  const auto atNewSpeed = [&] {
    if (speed < 0 || speed == session->choice().baudIndex) return false;
    context.messages.note("the instrument now listens at " +
                          std::to_string(modbus::BaudRateOfIndex(speed)) +
                          " bit/s; writing the general settings again at that speed");
    session->selectBaudIndex(speed);
    return true;
  };
  context.messages.setConfirmationsShown(true);
  code = ExitCodeOf(
      WriteConfiguration(session->link(), *session, configuration, context.messages, atNewSpeed));
  if (code != ExitCode::kDone) return code;

  Configuration readBack;
  context.messages.setConfirmationsShown(false);
  code = ReadConfiguration(*session, readBack);
  if (code != ExitCode::kDone) return code;
  if (!readBackMatches(dryRun.writes(), readBack, context.messages)) return ExitCode::kDiffers;
  context.messages.note("restored from " + context.options.file +
                        "; every register written reads back as written");
  return ExitCode::kDone;
}

}  // namespace cli
