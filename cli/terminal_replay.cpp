#include "cli/terminal_replay.h"

#include <string>

#include "backup/backup_file.h"
#include "backup/read_back.h"
#include "cli/interrupt_watch.h"
#include "cli/session.h"
#include "cli/write_states.h"
#include "device/link_messages.h"
#include "modbus/exchange.h"
#include "modbus/result_codes.h"

namespace cli {

namespace {

class SessionReplayHost final : public backup::ReplayHost {
 public:
  explicit SessionReplayHost(Session& session) : session_(session) {}

  device::RegisterLink& link() override { return session_.link(); }
  device::ConnectionSelection connection() const override { return session_.connection(); }
  bool cancelRequested() const override { return InterruptWatch::requested(); }

  void writing(const backup::PlannedWrite& planned, size_t index, size_t count) override {
    session_.messages().progress("writing " + std::string(BlockName(planned.block)) + ", " +
                                 std::to_string(index + 1) + " of " + std::to_string(count));
  }

  backup::WriteFailure failureOf(const modbus::ExchangeResult&) const override {
    const LinkFailure& failure = session_.link().lastFailure();
    if (failure.cancelled) return backup::WriteFailure::kCancelled;
    // An exception reply says the instrument did not carry the write out;
    // silence or a garbled reply says nothing either way.
    const bool refused = !failure.anotherTalker && failure.code == modbus::kExceptionReply;
    return failure.sent && !refused ? backup::WriteFailure::kUnconfirmed
                                    : backup::WriteFailure::kNotCarriedOut;
  }

  void addressWritten(uint8_t address) override {
    AddressedLink& link = session_.link();
    if (link.address() == 0 || address == link.address()) return;
    link.setAddress(address);
    session_.messages().note("the instrument now answers address " +
                             std::to_string(link.address()) + "; the rest goes there");
  }

  void speedChanged(int baudIndex) override {
    session_.selectBaudIndex(baudIndex);
    session_.messages().note("the instrument now listens at " +
                             std::to_string(modbus::BaudRateOfIndex(baudIndex)) +
                             " bit/s; the rest is written at that speed");
  }

 private:
  Session& session_;
};

}  // namespace

backup::ReplayEnd ReplayOnTerminal(Session& session, const std::vector<backup::PlannedWrite>& plan,
                                   backup::Progress& progress) {
  SessionReplayHost host(session);
  const backup::ReplayEnd end = backup::Replay(host, plan, progress);
  if (end == backup::ReplayEnd::kFailed) session.messages().error(device::kNoConnectionText);
  if (end == backup::ReplayEnd::kDone) session.messages().endProgress();
  return end;
}

bool ReadBackMatches(const std::vector<backup::PlannedWrite>& plan,
                     const backup::Configuration& read, TerminalSink& messages) {
  const auto differences = backup::ReadBackDifferences(plan, read);
  for (const backup::ReadBackDifference& d : differences) {
    messages.fail("register " + std::to_string(d.reg) + " (" + backup::FieldNamesAt(2 * d.reg, 2) +
                  "): written " + backup::HexBytes(d.written) + ", reads " +
                  (d.read ? backup::HexBytes(*d.read) : std::string("nothing")));
  }
  return differences.empty();
}

}  // namespace cli
