#include <nlohmann/json.hpp>

#include "cli/command_context.h"
#include "cli/failure_cause.h"
#include "cli/interrupt_watch.h"
#include "device/line_scan.h"

namespace cli {

namespace {

// The terminal's view of the scan: a progress line per address, a line (or a
// JSON entry) per unit, and a stop at Ctrl+C or at a line that cannot be
// trusted.
class TerminalScanView final : public device::LineScanView {
 public:
  TerminalScanView(CommandContext& context, const AddressedLink& link)
      : context_(context), link_(link) {}

  void trying(int address) override {
    address_ = address;
    context_.messages.progress("address " + std::to_string(address) + " of " +
                               std::to_string(context_.options.scanFirst) + ".." +
                               std::to_string(context_.options.scanLast));
  }

  void found(const device::ScannedUnit& unit) override {
    const device::IdentificationTexts& texts = unit.texts;
    if (context_.options.json) {
      found_.push_back({{"address", unit.address},
                        {"type", texts.type},
                        {"typeCode", unit.block.typeCode},
                        {"version", texts.version},
                        {"serialNumber", texts.serial},
                        {"manufactured", texts.date}});
      return;
    }
    context_.messages.endProgress();
    context_.terminal.out << "address " << unit.address << ": " << texts.type << ", serial number "
                          << texts.serial << ", version " << texts.version << ", manufactured "
                          << texts.date << std::endl;
  }

  bool cancelRequested() const override { return InterruptWatch::requested(); }

  bool lineFailed() const override {
    const LinkFailure& failure = link_.lastFailure();
    return failure.anotherTalker || failure.portFailed();
  }

  int address() const { return address_; }
  void printJson() const {
    if (context_.options.json) context_.terminal.out << found_.dump(2) << '\n';
  }

 private:
  CommandContext& context_;
  const AddressedLink& link_;
  nlohmann::ordered_json found_ = nlohmann::ordered_json::array();
  int address_ = 0;
};

}  // namespace

ExitCode RunScan(CommandContext& context) {
  const Options& options = context.options;
  ExitCode code = ExitCode::kDone;
  const auto session = context.connect(code);
  if (!session) return code;
  AddressedLink& link = session->link();

  const InterruptWatch interrupt;
  TerminalScanView view(context, link);
  const device::ScanOutcome outcome =
      device::ScanLine(link, *session, {options.scanFirst, options.scanLast, options.scanTimeoutMs},
                       view, context.messages);
  switch (outcome) {
    case device::ScanOutcome::kNotStarted:
    case device::ScanOutcome::kPortError:
      return ExitCode::kPortError;
    case device::ScanOutcome::kLineFailed: {
      const LinkFailure& failure = link.lastFailure();
      context.messages.fail(
          RequestFailureCause(failure, view.address(), session->choice().devicePath));
      view.printJson();
      return ExitCodeOf(failure);
    }
    default:
      break;
  }
  context.messages.endProgress();
  view.printJson();
  if (InterruptWatch::requested()) {
    context.messages.note("cancelled");
    return InterruptWatch::exitCode();
  }
  if (outcome == device::ScanOutcome::kNoneAnswered) {
    context.messages.fail("no instrument answered at addresses " +
                          std::to_string(options.scanFirst) + " to " +
                          std::to_string(options.scanLast));
    return ExitCode::kNoConnection;
  }
  return ExitCode::kDone;
}

}  // namespace cli
