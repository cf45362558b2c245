#include "ui/window_operation_controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTimer>

#include "ui/connection_panel.h"

device::ConnectionSelection WindowOperationControls::connection() const {
  return {panel_.ComboBoxPort()->currentIndex(), panel_.ComboBoxBaudSys()->currentIndex()};
}

void WindowOperationControls::stopMeasurementTimer() { timerIzmer_.stop(); }

void WindowOperationControls::setButtonEnabled(bool enabled) { button_.setEnabled(enabled); }
