#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "device/setpoints.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// Tab page "Уставки": decimal point, measuring and bar-graph ranges, four
// setpoints. The page is the setpoint operations' view of their fields and
// keeps the byte of register 2 that every write sends back.
class SetpointsPage : public QWidget, public device::SetpointsFields {
  Q_OBJECT

 public:
  explicit SetpointsPage(QWidget* parent = nullptr);

  // Mask of every value field before a decimal-point code is applied: four positions, the
  // first also taking a sign, no point, "_" for an empty position.
  static QString initialValueMask();

  // ComboBoxPolZapChange: the twelve value fields under the selected code.
  void applyDecimalPoint();

  uint8_t& keptByte() { return keptByte_; }

  // Back to the page as the window first shows it: no values, the first item
  // of every list, the initial mask and a kept byte of 0.
  void clearReadValues();

  device::SetpointsForm setpointsForm() const override;
  void selectDecimalPoint(int code) override;
  void showRange(int index, const device::ValueFieldText& text) override;
  void showSetpoint(int index, const device::SetpointShown& setpoint) override;

 private:
  QWidget* buildScale();
  QWidget* buildSetpoints();
  QWidget* buildButtons();

  QComboBox* polZap_ = nullptr;
  std::array<QLineEdit*, device::kRangeCount> ranges_{};
  std::array<QCheckBox*, device::kSetpointColumns> enabled_{};
  std::array<QLineEdit*, device::kSetpointColumns> values_{};
  std::array<QLineEdit*, device::kSetpointColumns> zones_{};
  std::array<std::array<QComboBox*, device::kSetpointLists>, device::kSetpointColumns> lists_{};
  uint8_t keptByte_ = 0;
};
