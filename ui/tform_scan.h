#pragma once

#include <QWidget>

#include "device/line_scan.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

// The window "Сканирование линии": the units that answer a scan of the line,
// listed in StringGridScan as they answer (address, type, serial number,
// version), the progress, and "Остановить". Non-modal; it first opens beside
// the main window and closes with it. A double click on a unit's row offers
// its address (addressChosen).
class TformScan : public QWidget, public device::LineScanView {
  Q_OBJECT

 public:
  explicit TformScan(QWidget* mainWindow);

  // Shows the window, empties the table and scans the whole line. Closing
  // the window stops the scan as "Остановить" does: after the request under way.
  void scan(device::RegisterLink& link, device::OperationControls& controls,
            device::MessageSink& messages);
  // "Остановить".
  void requestStop() { stopRequested_ = true; }

  void trying(int address) override;
  void found(const device::ScannedUnit& unit) override;
  bool cancelRequested() const override { return stopRequested_; }

 signals:
  void addressChosen(int address);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void showOutcome(device::ScanOutcome outcome);

  QTableWidget* grid_;
  QProgressBar* progress_;
  QLabel* state_;
  QPushButton* stop_;
  device::ScanRange range_;
  int lastTried_ = 0;
  bool stopRequested_ = false;
  bool placed_ = false;
};
