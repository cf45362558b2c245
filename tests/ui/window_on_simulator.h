#pragma once

// The whole application against the simulator, for the developer's programs
// that run the window unattended (benchmarks, screenshots): COM1 is the
// simulator at 115200 bit/s, the settings file lies in a directory of its
// own, messages are printed. Real time.

#include <QCoreApplication>
#include <QTemporaryDir>

#include "sim/simulator.h"
#include "ui/application_windows.h"
#include "ui/connection_settings.h"
#include "ui/printing_display.h"
#include "ui/profile_file.h"

class WindowOnSimulator {
 public:
  explicit WindowOnSimulator(const sim::SimulatorOptions& options)
      : simulator(options), windows_(prepared(settingsDir_, simulator), display_) {
    windows_.formMain().show();
    QCoreApplication::processEvents();
  }

  TformMain& form() { return windows_.formMain(); }
  ApplicationWindows& windows() { return windows_; }

  sim::Simulator simulator;

 private:
  static QString prepared(const QTemporaryDir& dir, const sim::Simulator& simulator) {
    const QString path = dir.filePath(QStringLiteral("Configurator.ini"));
    ProfileFile ini(path);
    connection_settings::mapPortDevice(ini, 1, simulator.devicePath());
    connection_settings::storePortNumber(ini, 1);
    connection_settings::storeBaudIndex(ini, 6);
    return path;
  }

  QTemporaryDir settingsDir_;
  PrintingDisplay display_;
  ApplicationWindows windows_;
};
