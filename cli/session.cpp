#include "cli/session.h"

#include "backup/capturing_link.h"
#include "backup/local_time_text.h"
#include "cli/failure_cause.h"
#include "cli/log_failure_warning.h"
#include "cli/tracing_port.h"
#include "device/discovery.h"
#include "modbus/exchange.h"
#include "modbus/steady_tick.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"

namespace cli {

namespace {

std::string portText(const ConnectionChoice& choice) {
  if (choice.byDevicePath) return choice.devicePath;
  return "COM" + std::to_string(choice.portNumber) + " → " + choice.devicePath;
}

// Discovery's view: the chosen port, speed and address, "Автопоиск", and nothing to
// show; the block itself is taken from the raw reply.
class SessionDiscoveryView final : public device::DiscoveryView {
 public:
  SessionDiscoveryView(Session& session, bool search, TerminalSink& messages)
      : session_(session), search_(search), messages_(messages) {}

  device::ConnectionSelection connection() const override { return session_.connection(); }
  void selectBaudIndex(int index) override {
    session_.selectBaudIndex(index);
    if (search_) {
      messages_.progress("trying " + std::to_string(modbus::BaudRateOfIndex(index)) + " bit/s");
    }
  }
  bool autoFindChecked() const override { return search_; }
  void setFindButtonEnabled(bool) override {}
  void stopMeasurementTimer() override {}
  void showIdentification(const device::IdentificationTexts&) override {}

 private:
  Session& session_;
  bool search_;
  TerminalSink& messages_;
};

}  // namespace

Session::Session(const ConnectionChoice& choice, TerminalSink& messages,
                 const SessionSettings& settings)
    : choice_(choice),
      messages_(messages),
      port_(std::make_unique<transport::TAfComPort>("CommModBus")),
      pump_(std::make_unique<transport::DispatcherEventPump>()) {
  port_->SetDevicePathResolver(choice_.resolver);
  modbus::TickSource* tick = settings.tick;
  if (!tick) {
    ownTick_ = std::make_unique<modbus::SteadyTick>();
    tick = ownTick_.get();
  }
  modbus::PortInterface* port = port_.get();
  if (settings.trace) {
    tracing_ = std::make_unique<TracingPort>(*port_, *settings.trace);
    port = tracing_.get();
  }
  log_ = std::make_unique<oplog::OperationsLog>(
      oplog::LogSource{"ulm5-cli", [] { return backup::LocalTimeText(std::chrono::system_clock::now()); },
                       [text = portText(choice_)](int) { return text; }});
  log_->setFailureListener([this](const oplog::LogFailure& failure) {
    messages_.note("warning: " + LogFailureWarning(failure));
  });
  log_->beginOperation(settings.operation);
  logObserver_ = std::make_unique<oplog::LoggingObserver>(*log_);
  modbus::LinkServices services{*port, *tick, *pump_, logObserver_.get()};
  services.mode = settings.fast ? modbus::ExchangeMode::kFast : modbus::ExchangeMode::kWindowTiming;
  // Bytes after an answer are seen before the next request goes out.
  services.holdPortBetweenExchanges = settings.fast;
  services.settle = settings.settle;
  link_ = std::make_unique<AddressedLink>(services, settings.address);
  if (settings.refuseAfterInterrupt) link_->refuseAfterInterrupt();
  messages_.setCauseOfFailure([this] { return failureCause(); });
}

std::string Session::failureCause() const {
  return RequestFailureCause(link_->lastFailure(), link_->address(), choice_.devicePath);
}

Session::~Session() {
  log_->endOperation();
  messages_.setCauseOfFailure(nullptr);
  link_->closePort();
  link_.reset();
}

// The address and mode the link holds: a restore that changed the address
// has moved the link to the new one.
device::ConnectionSelection Session::connection() const {
  return {choice_.portNumber - 1, choice_.baudIndex, link_->address(), link_->parameters().mode};
}

ExitCode Session::identify(bool search, backup::Identification& found) {
  backup::CapturingLink capture(link_.get());
  SessionDiscoveryView view(*this, search, messages_);
  const device::DiscoveryOutcome outcome = device::RunDiscovery(capture, view, messages_);
  messages_.endProgress();
  switch (outcome) {
    case device::DiscoveryOutcome::kPortError:
      return ExitCode::kPortError;
    case device::DiscoveryOutcome::kShown:
    case device::DiscoveryOutcome::kFound:
      break;
    default:
      return failureExitCode();
  }
  const auto identification = backup::Identification::fromImage(capture.read());
  if (!identification) return ExitCode::kNoConnection;
  found = *identification;
  log_->instrumentFound(choice_.portNumber, found.texts().serial);
  return ExitCode::kDone;
}

ExitCode Session::exitCodeOf(device::OperationOutcome outcome) const {
  switch (outcome) {
    case device::OperationOutcome::kDone:
      return ExitCode::kDone;
    case device::OperationOutcome::kPortError:
      return ExitCode::kPortError;
    case device::OperationOutcome::kRefused:
      return ExitCode::kRefused;
    case device::OperationOutcome::kNotStarted:
    case device::OperationOutcome::kNoConnection:
      break;
  }
  return failureExitCode();
}

ExitCode Session::failureExitCode() const {
  const LinkFailure& failure = link_->lastFailure();
  return failure.failed() ? ExitCodeOf(failure) : ExitCode::kNoConnection;
}

}  // namespace cli
