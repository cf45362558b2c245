#include "cli/session.h"

#include "cli/capturing_link.h"
#include "device/discovery.h"
#include "modbus/steady_tick.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"

namespace cli {

namespace {

// Discovery's view: the chosen port and speed, "Автопоиск", and nothing to
// show; the block itself is taken from the raw reply.
class SessionDiscoveryView final : public device::DiscoveryView {
 public:
  SessionDiscoveryView(Session& session, bool search) : session_(session), search_(search) {}

  int selectedPortIndex() const override { return session_.connection().portIndex; }
  int selectedBaudIndex() const override { return session_.connection().baudIndex; }
  void selectBaudIndex(int index) override { session_.selectBaudIndex(index); }
  bool autoFindChecked() const override { return search_; }
  void setFindButtonEnabled(bool) override {}
  void stopMeasurementTimer() override {}
  void showIdentification(const device::IdentificationTexts&) override {}

 private:
  Session& session_;
  bool search_;
};

}  // namespace

Session::Session(const ConnectionChoice& choice, TerminalSink& messages, modbus::TickSource* tick)
    : choice_(choice),
      messages_(messages),
      port_(std::make_unique<transport::TAfComPort>("CommModBus")),
      pump_(std::make_unique<transport::DispatcherEventPump>()) {
  port_->SetDevicePathResolver(choice_.resolver);
  if (!tick) {
    ownTick_ = std::make_unique<modbus::SteadyTick>();
    tick = ownTick_.get();
  }
  link_ = std::make_unique<device::DeviceLink>(modbus::LinkServices{*port_, *tick, *pump_});
}

Session::~Session() {
  link_->closePort();
  link_.reset();
}

device::ConnectionSelection Session::connection() const {
  return {choice_.portNumber - 1, choice_.baudIndex};
}

ExitCode Session::identify(bool search, Identification& found) {
  CapturingLink capture(link_.get());
  SessionDiscoveryView view(*this, search);
  switch (device::RunDiscovery(capture, view, messages_)) {
    case device::DiscoveryOutcome::kPortError:
      return ExitCode::kPortError;
    case device::DiscoveryOutcome::kShown:
    case device::DiscoveryOutcome::kFound:
      break;
    default:
      return ExitCode::kNoConnection;
  }
  const auto image =
      capture.read().image(device::kIdentificationStart, device::kIdentificationCount);
  const auto decoded = image ? device::DecodeIdentificationBlock(*image) : std::nullopt;
  if (!decoded) return ExitCode::kNoConnection;
  found = {*decoded, image->bytes()};
  return ExitCode::kDone;
}

ExitCode ExitCodeOf(device::OperationOutcome outcome) {
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
  return ExitCode::kNoConnection;
}

}  // namespace cli
