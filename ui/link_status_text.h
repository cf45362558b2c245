#pragma once

#include <QString>

#include "device/link_outcome.h"
#include "modbus/port_failure.h"

// The status bar's words for what happened on the link. `devicePath` names
// the device the port number resolves to, used when the port itself did not
// say which device failed.
QString PortFailureText(const modbus::PortFailure& failure, const QString& devicePath);
// Empty for an answered request: nothing went wrong.
QString LinkOutcomeText(const device::LinkOutcome& outcome, const QString& devicePath);
