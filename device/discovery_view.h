#pragma once

#include "device/identification_block.h"
#include "device/operation_start.h"

namespace device {

// What discovery needs of the main window: the connection panel's selection
// and "Автопоиск", the "Найти" button, the measurement timer and the
// identification fields.
class DiscoveryView {
 public:
  virtual ~DiscoveryView() = default;

  // The panel's port, speed, address and exchange mode.
  virtual ConnectionSelection connection() const = 0;
  // The speed search selects each speed in ComboBoxBaudSys after trying it.
  virtual void selectBaudIndex(int index) = 0;
  virtual bool autoFindChecked() const = 0;             // CheckBoxAutoFind
  virtual void setFindButtonEnabled(bool enabled) = 0;  // BitBtnFindPrib
  virtual void stopMeasurementTimer() = 0;              // TimerIzmer
  virtual void showIdentification(const IdentificationTexts& texts) = 0;
  // Seen before each attempt of the speed search: the attempt under way
  // finishes, no further one is made. The window sets it when it closes.
  virtual bool cancelRequested() const { return false; }
};

}  // namespace device
