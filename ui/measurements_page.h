#pragma once

#include <QWidget>
#include <array>

#include "device/measurement_poll.h"

class QLabel;

// Tab page "Измерения": live values, setpoint and relay states, fault
// indicators. The page is the measurement poll's view.
class MeasurementsPage : public QWidget, public device::MeasurementView {
  Q_OBJECT

 public:
  explicit MeasurementsPage(QWidget* parent = nullptr);

  // Colours of the indicators; inactive faults take the button face of the current palette.
  static QColor faultActiveColor();
  static QColor setpointActiveColor();
  static QColor setpointInactiveColor();

  void showValues(const device::MeasuredTexts& texts) override;
  // A poll tick found the link held by `operation`: its place in the date and
  // time field says so, and the values of the last poll are greyed until
  // the next poll shows new ones.
  void showHeldBack(const QString& operation);
  void showStates(const device::StateIndicators& states) override;

 private:
  QWidget* buildValues();
  QWidget* buildFaults();

  QLabel* dateTime_ = nullptr;
  QLabel* parameter_ = nullptr;
  QLabel* physical_ = nullptr;
  QLabel* coldJunction_ = nullptr;
  QLabel* errorCode_ = nullptr;
  std::array<QLabel*, device::kFaultIndicatorCount> faults_{};
  std::array<QLabel*, device::kSetpointCount> setpoints_{};
  std::array<QLabel*, device::kSetpointCount> relays_{};
};
