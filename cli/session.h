#pragma once

#include <memory>
#include <optional>
#include <string>

#include "backup/identification.h"
#include "cli/addressed_link.h"
#include "cli/connection_choice.h"
#include "cli/exit_code.h"
#include "cli/terminal_sink.h"
#include "device/identification_block.h"
#include "device/operation_controls.h"
#include "modbus/platform_services.h"
#include "oplog/logging_observer.h"
#include "oplog/operations_log.h"

namespace transport {
class TAfComPort;
class DispatcherEventPump;
}  // namespace transport

namespace cli {

class TracingPort;

// How the exchanges of a session run.
struct SessionSettings {
  uint8_t address = 0;
  bool fast = false;
  // Fast mode: quiet after an answer before it is taken (a second
  // instrument answering right behind the first is heard).
  modbus::QuietTime settle;
  // A request asked for after Ctrl+C or a signal is not sent (see
  // AddressedLink::refuseAfterInterrupt).
  bool refuseAfterInterrupt = false;
  std::ostream* trace = nullptr;       // every frame, when set
  modbus::TickSource* tick = nullptr;  // replaces the real tick (time-scaled in tests)
  std::string operation;               // what the log of writes calls the session's writes
};

// The link of one run of the program: the serial port component with its
// resolver, the millisecond tick, the dispatcher's event pump and the
// addressed link, and the operations' view of the "window": the chosen port
// and speed. There is no button and no measurement timer to switch. The
// session is one operation of the log of writes: whatever it wrote goes
// there as one line when it ends, and a line the log cannot take is a
// warning.
class Session final : public device::OperationControls {
 public:
  Session(const ConnectionChoice& choice, TerminalSink& messages, const SessionSettings& settings);
  ~Session() override;

  AddressedLink& link() { return *link_; }
  TerminalSink& messages() { return messages_; }
  const ConnectionChoice& choice() const { return choice_; }
  void selectBaudIndex(int index) { choice_.baudIndex = index; }
  // Why the last request failed, in words; empty while it succeeded.
  std::string failureCause() const;

  device::ConnectionSelection connection() const override;
  void stopMeasurementTimer() override {}
  void setButtonEnabled(bool) override {}

  // "Найти": the identification block, read once at the chosen speed or,
  // with `search`, at every speed from 2400 upwards; a speed found stays
  // chosen.
  ExitCode identify(bool search, backup::Identification& found);

  // How an operation's outcome ends the program; a failed request by its
  // cause (the port, an exception reply, a signal).
  ExitCode exitCodeOf(device::OperationOutcome outcome) const;
  ExitCode failureExitCode() const;

 private:
  ConnectionChoice choice_;
  TerminalSink& messages_;
  std::unique_ptr<transport::TAfComPort> port_;
  std::unique_ptr<TracingPort> tracing_;
  std::unique_ptr<modbus::TickSource> ownTick_;
  std::unique_ptr<oplog::OperationsLog> log_;
  std::unique_ptr<oplog::LoggingObserver> logObserver_;
  std::unique_ptr<transport::DispatcherEventPump> pump_;
  std::unique_ptr<AddressedLink> link_;
};

}  // namespace cli
