#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "backup/block_choice.h"
#include "backup/register_image.h"
#include "device/calibration_coefficients.h"
#include "device/general_settings.h"
#include "device/message_sink.h"
#include "device/operation_controls.h"
#include "device/register_link.h"
#include "device/setpoints.h"

namespace backup {

// What the pages "Общие настройки", "Уставки" and "Калибровка" hold after a
// read: their fields as the window shows them, the byte of register 2 the
// setpoints page keeps, and the raw bytes of every register read.
struct Configuration {
  device::GeneralSettingsForm general;
  device::SetpointsForm setpoints;
  uint8_t keptByte = 0;
  std::array<std::vector<std::string>, device::kCoefficientGroupCount> coefficients;  // by group
  RegisterImage raw;
};

// Numbers in a backup are written and read with a point, whatever the locale.
inline constexpr const char* kBackupDecimalSeparator = ".";

// The three pages' fields over a configuration, for the device operations.
class ConfigurationPages final : public device::GeneralSettingsFields,
                                 public device::SetpointsFields,
                                 public device::CoefficientFields {
 public:
  explicit ConfigurationPages(Configuration& configuration) : c_(configuration) {}

  device::GeneralSettingsForm settingsForm() const override { return c_.general; }
  void showSettings(const device::GeneralSettingsForm& form) override { c_.general = form; }

  device::SetpointsForm setpointsForm() const override { return c_.setpoints; }
  void selectDecimalPoint(int code) override { c_.setpoints.decimalPoint = code; }
  void showRange(int index, const device::ValueFieldText& text) override;
  void showSetpoint(int index, const device::SetpointShown& setpoint) override;

  std::vector<std::string> coefficientTexts(device::CoefficientGroup group) const override;
  void showCoefficients(device::CoefficientGroup group,
                        const std::vector<std::string>& texts) override;

 private:
  Configuration& c_;
};

// Called as each block's read begins.
using ReadProgress = std::function<void(Block)>;

// The three reads of the window ("Считать из прибора" of the general
// settings and of the setpoints, "Считать коэффициенты калибровки") in that
// order, each through the operation of its page; the first that does not
// end done ends the read, its message given.
device::OperationOutcome ReadConfiguration(device::RegisterLink& link,
                                           device::OperationControls& controls,
                                           device::MessageSink& messages,
                                           const ReadProgress& progress,
                                           Configuration& configuration);

}  // namespace backup
