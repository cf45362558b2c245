#include "ui/application_windows.h"

#include "ui/connection_settings.h"

ApplicationWindows::ApplicationWindows(const QString& settingsPath, MessageDisplay& messages,
                                       modbus::TickSource* tick)
    : hooks_(messages), portPaths_(settingsPath) {
  formMain_ = std::make_unique<TformMain>(settingsPath, messages);
  // COMn resolves through section "Ports" of the same settings file, read at
  // each open, so an edited mapping applies to the next exchange.
  formModBus_ = std::make_unique<TformModBus>(
      [this](int comNumber) { return connection_settings::portDevicePath(portPaths_, comNumber); });
  formHelp_ = std::make_unique<TformHelp>();
  formMain_->attachPort(formModBus_->CommModBus(), tick);
  formMain_->setHelpWindow(formHelp_.get());
}

ApplicationWindows::~ApplicationWindows() {
  // The main window's link refers to the port: it goes first.
  formHelp_.reset();
  formMain_.reset();
  formModBus_.reset();
}
