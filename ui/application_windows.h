#pragma once

#include <QString>
#include <memory>

#include "ui/platform_hooks.h"
#include "ui/profile_file.h"
#include "ui/tform_help.h"
#include "ui/tform_main.h"
#include "ui/tform_mod_bus.h"

class MessageDisplay;

namespace modbus {
class TickSource;
}

// The application's three windows, created in their order: the main window,
// the hidden holder of the serial port and the help window. The platform hooks
// come first and go last, so no port thread outlives them.
class ApplicationWindows {
 public:
  // `tick` (time-scaled in tests) must outlive the windows; null: real time.
  ApplicationWindows(const QString& settingsPath, MessageDisplay& messages,
                     modbus::TickSource* tick = nullptr);
  ~ApplicationWindows();

  TformMain& formMain() { return *formMain_; }
  TformModBus& formModBus() { return *formModBus_; }
  TformHelp& formHelp() { return *formHelp_; }

 private:
  PlatformHooks hooks_;
  ProfileFile portPaths_;
  std::unique_ptr<TformMain> formMain_;
  std::unique_ptr<TformModBus> formModBus_;
  std::unique_ptr<TformHelp> formHelp_;
};
