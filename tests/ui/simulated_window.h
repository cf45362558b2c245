#pragma once

// The whole application against the simulator on a pseudo-terminal: COM1 is
// the simulator, messages are captured instead of shown.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTemporaryDir>
#include <memory>

#include "modbus/steady_tick.h"
#include "sim/simulator.h"
#include "tests/ui/capturing_display.h"
#include "ui/application_windows.h"
#include "ui/connection_settings.h"
#include "ui/profile_file.h"

class SimulatedWindow : public ::testing::Test {
 protected:
  // `timeScale` speeds up the tick of the exchanges (not the window's
  // timers). The panel starts at `panelBaudIndex`, by default the
  // instrument's own speed. COM2 names a device that is not there.
  SimulatedWindow(uint32_t timeScale, const sim::SimulatorOptions& options, int panelBaudIndex = -1)
      : simulator_(options), tick_(timeScale) {
    ProfileFile ini(iniPath());
    connection_settings::mapPortDevice(ini, 1, simulator_.devicePath());
    connection_settings::mapPortDevice(ini, 2, missingDevicePath().toStdString());
    connection_settings::storePortNumber(ini, 1);
    connection_settings::storeBaudIndex(
        ini, panelBaudIndex < 0 ? options.interfaceBaudIndex : panelBaudIndex);
    windows_ = std::make_unique<ApplicationWindows>(iniPath(), display_, &tick_);
    windows_->formMain().show();
  }

  QString iniPath() const { return dir_.filePath("Configurator.ini"); }
  QString missingDevicePath() const { return dir_.filePath("no-such-device"); }

  template <typename T>
  T* child(const char* name) const {
    T* found = windows_->formMain().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  void click(const char* name) { child<QAbstractButton>(name)->click(); }

  using Message = CapturingDisplay::Message;
  static Message error(const char* text) { return {Message::kError, text}; }
  static Message confirmation(const char* text) { return {Message::kConfirmation, text}; }

  QTemporaryDir dir_;
  sim::Simulator simulator_;
  modbus::SteadyTick tick_;
  CapturingDisplay display_;
  std::unique_ptr<ApplicationWindows> windows_;
};
