#pragma once

#include <QWidget>
#include <memory>

#include "transport/af_com_port.h"
#include "transport/af_com_port_core.h"

// The hidden window that owns the one serial port component of the Modbus
// link. Never shown; the port goes with it when the application ends.
class TformModBus : public QWidget {
  Q_OBJECT

 public:
  explicit TformModBus(transport::DevicePathResolver resolver, QWidget* parent = nullptr);
  ~TformModBus() override;

  transport::TAfComPort& CommModBus() { return *commModBus_; }

 private:
  std::unique_ptr<transport::TAfComPort> commModBus_;
};
