#pragma once

// The whole application against the simulator, for the developer's programs
// that run the window unattended (benchmarks, screenshots): COM1 is the
// simulator at 115200 bit/s, the settings file lies in a directory of its
// own, the log of writes too, messages are printed. Real time.

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
  // Where the log of writes goes (XDG_STATE_HOME), never the user's own.
  QString stateHome() const { return settingsDir_.filePath(QStringLiteral("state")); }
  ApplicationWindows& windows() { return windows_; }

  sim::Simulator simulator;

 private:
  static QString prepared(const QTemporaryDir& dir, const sim::Simulator& simulator) {
    qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toUtf8());
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
