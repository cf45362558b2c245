#include "ui/window_operation_controls.h"

#include <QAbstractButton>
#include <QTimer>

#include "ui/connection_panel.h"

device::ConnectionSelection WindowOperationControls::connection() const {
  return panel_.selection();
}

void WindowOperationControls::stopMeasurementTimer() { timerIzmer_.stop(); }

void WindowOperationControls::setButtonEnabled(bool enabled) { button_.setEnabled(enabled); }
