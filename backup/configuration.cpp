#include "backup/configuration.h"

#include "backup/capturing_link.h"

namespace backup {

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

device::OperationOutcome ReadConfiguration(device::RegisterLink& link,
                                           device::OperationControls& controls,
                                           device::MessageSink& messages,
                                           const ReadProgress& progress,
                                           Configuration& configuration) {
  CapturingLink capture(&link);
  ConfigurationPages pages(configuration);
  const auto begin = [&](Block block) {
    if (progress) progress(block);
  };
  begin(Block::kGeneral);
  auto outcome = device::ReadGeneralSettings(capture, controls, pages, messages);
  if (outcome == device::OperationOutcome::kDone) {
    begin(Block::kSetpoints);
    outcome = device::ReadSetpoints(capture, controls, pages, messages, configuration.keptByte);
  }
  if (outcome == device::OperationOutcome::kDone) {
    begin(Block::kCalibration);
    outcome = device::ReadCalibrationCoefficients(capture, controls, pages, messages,
                                                  kBackupDecimalSeparator);
  }
  configuration.raw = capture.read();
  return outcome;
}

}  // namespace backup
