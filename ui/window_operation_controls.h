#pragma once

#include "device/operation_controls.h"

class ConnectionPanel;
class QAbstractButton;
class QTimer;

// An operation's view of the main window: the connection panel's selection,
// the measurement timer and the button that started it.
class WindowOperationControls final : public device::OperationControls {
 public:
  WindowOperationControls(const ConnectionPanel& panel, QTimer& timerIzmer, QAbstractButton& button)
      : panel_(panel), timerIzmer_(timerIzmer), button_(button) {}

  device::ConnectionSelection connection() const override;
  void stopMeasurementTimer() override;
  void setButtonEnabled(bool enabled) override;

 private:
  const ConnectionPanel& panel_;
  QTimer& timerIzmer_;
  QAbstractButton& button_;
};
