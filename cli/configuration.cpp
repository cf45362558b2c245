#include "cli/configuration.h"

#include "cli/capturing_link.h"
#include "cli/session.h"

namespace cli {

void ConfigurationPages::showRange(int index, const device::ValueFieldText& text) {
  c_.setpoints.ranges[static_cast<size_t>(index)] = text.text;
}

void ConfigurationPages::showSetpoint(int index, const device::SetpointShown& setpoint) {
  device::SetpointColumn& column = c_.setpoints.setpoints[static_cast<size_t>(index)];
  column.enabled = setpoint.enabled;
  column.value = setpoint.value.text;
  column.zone = setpoint.zone.text;
  column.lists = setpoint.lists;
}

std::vector<std::string> ConfigurationPages::coefficientTexts(
    device::CoefficientGroup group) const {
  return c_.coefficients[static_cast<size_t>(group)];
}

void ConfigurationPages::showCoefficients(device::CoefficientGroup group,
                                          const std::vector<std::string>& texts) {
  c_.coefficients[static_cast<size_t>(group)] = texts;
}

ExitCode ReadConfiguration(Session& session, Configuration& configuration) {
  CapturingLink capture(&session.link());
  ConfigurationPages pages(configuration);
  TerminalSink& messages = session.messages();
  auto outcome = device::ReadGeneralSettings(capture, session, pages, messages);
  if (outcome == device::OperationOutcome::kDone) {
    outcome = device::ReadSetpoints(capture, session, pages, messages, configuration.keptByte);
  }
  if (outcome == device::OperationOutcome::kDone) {
    outcome = device::ReadCalibrationCoefficients(capture, session, pages, messages,
                                                  kBackupDecimalSeparator);
  }
  configuration.raw = capture.read();
  return ExitCodeOf(outcome);
}

device::OperationOutcome WriteConfiguration(device::RegisterLink& link,
                                            device::OperationControls& controls,
                                            const Configuration& configuration,
                                            device::MessageSink& messages,
                                            const std::function<bool()>& retryGeneral) {
  Configuration fields = configuration;
  ConfigurationPages pages(fields);
  auto outcome = device::WriteGeneralSettings(link, controls, pages, messages);
  if (outcome == device::OperationOutcome::kNoConnection && retryGeneral && retryGeneral()) {
    outcome = device::WriteGeneralSettings(link, controls, pages, messages);
  }
  if (outcome == device::OperationOutcome::kDone) {
    outcome = device::WriteSetpoints(link, controls, pages, messages, configuration.keptByte,
                                     kBackupDecimalSeparator);
  }
  if (outcome == device::OperationOutcome::kDone) {
    outcome = device::WriteCalibrationCoefficients(link, controls, pages, messages,
                                                   kBackupDecimalSeparator);
  }
  return outcome;
}

}  // namespace cli
