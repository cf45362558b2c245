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
  messages.progress("reading general settings");
  auto outcome = device::ReadGeneralSettings(capture, session, pages, messages);
  if (outcome == device::OperationOutcome::kDone) {
    messages.progress("reading scale and setpoints");
    outcome = device::ReadSetpoints(capture, session, pages, messages, configuration.keptByte);
  }
  if (outcome == device::OperationOutcome::kDone) {
    messages.progress("reading calibration coefficients");
    outcome = device::ReadCalibrationCoefficients(capture, session, pages, messages,
                                                  kBackupDecimalSeparator);
  }
  messages.endProgress();
  configuration.raw = capture.read();
  return session.exitCodeOf(outcome);
}

}  // namespace cli
