#include "ui/tform_mod_bus.h"

#include <utility>

TformModBus::TformModBus(transport::DevicePathResolver resolver, QWidget* parent)
    : QWidget(parent), commModBus_(std::make_unique<transport::TAfComPort>("CommModBus")) {
  setObjectName(QStringLiteral("formModBus"));
  // The component keeps its default properties; only COMn's device is ours.
  commModBus_->SetDevicePathResolver(std::move(resolver));
}

// The port goes with its window: the component's destructor closes the
// device without raising OnPortClose.
TformModBus::~TformModBus() = default;
