#pragma once

#include <QPointer>
#include <QTimer>
#include <functional>

#include "device/discovery_view.h"
#include "ui/connection_panel.h"

class QLabel;

// Discovery's view of the main window: the connection panel, the measurement
// timer and the identification fields of GroupBox3. `windowClosed` ends a
// speed search after the attempt under way; `identified` hears of every
// instrument shown.
class PanelDiscoveryView final : public device::DiscoveryView {
 public:
  using Identified = std::function<void(const device::IdentificationTexts&)>;
  PanelDiscoveryView(ConnectionPanel& panel, QTimer& timerIzmer, QWidget& identificationBox,
                     const bool& windowClosed, Identified identified);

  device::ConnectionSelection connection() const override { return panel_.selection(); }
  void selectBaudIndex(int index) override;
  bool autoFindChecked() const override;
  void setFindButtonEnabled(bool enabled) override;
  void stopMeasurementTimer() override;
  void showIdentification(const device::IdentificationTexts& texts) override;
  bool cancelRequested() const override { return windowClosed_; }

 private:
  ConnectionPanel& panel_;
  QTimer& timerIzmer_;
  QLabel* code_;
  QLabel* version_;
  QLabel* date_;
  QLabel* serial_;
  const bool& windowClosed_;
  Identified identified_;
};
