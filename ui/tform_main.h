#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "device/device_link.h"
#include "device/identification_block.h"
#include "device/link_outcome.h"
#include "device/measurement_poll.h"
#include "device/operation_controls.h"
#include "modbus/platform_services.h"
#include "modbus/port_interface.h"
#include "oplog/logging_observer.h"
#include "oplog/operations_log.h"
#include "ui/open_window_messages.h"
#include "ui/profile_file.h"
#include "ui/qt_event_pump.h"
#include "ui/read_origins.h"

class CalibrationPage;
class CalibrationRecordExport;
class ConfigurationFiles;
class ConnectionPanel;
class LinkStatusBar;
class DebugDumpObserver;
class GeneralSettingsPage;
class MeasurementsPage;
class MessageDisplay;
class OperationsLogWindow;
class ArchivePage;
class QAbstractButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class TformScan;
class TformTrend;
class TrendRecorder;
class SetpointsPage;
class TformHelp;

namespace transport {
class TClientSocket;
}

// The main window: connection panel on the left, the tab pages, the status
// bar and the two timers. Restores the connection panel from the settings
// file when first shown and stores it when closed. Closing also ends whatever runs on
// the link: the exchange under way finishes, no further one starts, the port
// closes, so the program ends with the window.
class TformMain : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 708;
  static constexpr int kClientHeight = 491;
  static constexpr int kStatusBarHeight = 19;

  TformMain(QString settingsPath, MessageDisplay& messages, QWidget* parent = nullptr);
  ~TformMain() override;

  // The link of every device operation: the serial port of the Modbus link,
  // with the real millisecond tick unless another one is given (time-scaled
  // in tests). The tick must outlive the window.
  void attachPort(modbus::PortInterface& port, modbus::TickSource* tick = nullptr);
  device::DeviceLink* link() const { return link_.get(); }
  // What the trend window shows: every poll of the last hour.
  TrendRecorder& trendRecorder() const { return *trendRecorder_; }

  ProfileFile& settings() { return settings_; }
  // StatusBar1: the port, the instrument found, what is under way or went wrong.
  LinkStatusBar& linkStatus() const { return *status_; }

  // The help window that "?" of the debug page shows; it outlives the window.
  void setHelpWindow(TformHelp* help) { help_ = help; }
  // The configuration file operations of the page "Общие настройки".
  ConfigurationFiles& configurationFiles() const { return *configurationFiles_; }

  void BitBtnFindPribClick();
  void BitBtnScanLineClick();
  void StringGridScanDblClick(int address);
  void Button1Click();
  void TimerTimerTimer();

  void buttonReadNastrPribClick();
  void BitBtnWriteNastrPribClick();
  void btnCopyTimeClick();
  void btnReadDataTimeClick();
  void btnWriteDataTimeClick();
  void BitBtnIzmerStartClick();
  void BitBtnIzmerStopClick();
  void TimerIzmerTimer();
  void BitBtnTrendClick();
  void BitBtnSaveConfigClick();
  void BitBtnLoadConfigClick();
  void BitBtnCompareConfigClick();

  void BitBtnReadKoeffClick();
  void BitBtnWriteKoeffClick();
  void BitBtnCalibPointClick();
  void BitBtnSetCurrentClick();
  void BitBtnProtocolClick();

  void BitBtnReadNatrUstClick();
  void BitBtnWriteNatrUstClick();
  void ComboBoxPolZapChange();

  void BitBtnIPConnectClick();
  void BitBtnIPDisconnectClick();
  void ButtonIPWriteClick();
  void ClientSocket1Connect();
  void ClientSocket1Disconnect();
  void ClientSocket1Read();

  void BitBtnReadArhClick();
  void BitBtnCancelReadArhClick();
  void BitBtn4Click();
  void BitBtn5Click();

  void btnObmenClick();

  // "Журнал": the log of writes in a window of its own.
  void BitBtnJournalClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormShow();
  void FormClose();
  // The archive read and the speed search end as their cancel does, the
  // poll stops, every other operation ends with its request under way.
  void endOperations();
  void selectListDefaults();
  void setUpArchiveGrid();
  void restoreConnection();
  void updatePortToolTip();
  void reportWriteFailure(const ProfileFile::WriteError& error);
  QAbstractButton& button(const char* name) const;
  // True when another exchange holds the link: `retry` then runs once the
  // poll's exchange has ended; a click during another operation is not
  // carried out, and the status bar says so.
  bool deferWhileBusy(const char* buttonName, std::function<void()> retry);
  // The status bar while an operation runs and after it.
  void beginOperation(const QString& name);
  void endOperation();
  void showOperationEnd();
  // "Найти" identified an instrument: the status bar shows it, and pages
  // holding values of another instrument are emptied.
  void instrumentIdentified(const device::IdentificationTexts& texts);
  // A read that got past the port check has filled (some of) a page.
  void pageRead(ReadOrigins::Page page, device::OperationOutcome outcome);
  CalibrationPage& calibrationPage() const;
  // Runs a device operation started by `buttonName`; without a port the
  // operation cannot open one.
  template <typename Operation>
  void runOperation(const char* buttonName, Operation operation);

  ProfileFile settings_;
  OpenWindowMessages messages_;
  ConnectionPanel* panel_;
  QTabWidget* pageControl_;
  GeneralSettingsPage* generalPage_;
  MeasurementsPage* measurementsPage_;
  SetpointsPage* setpointsPage_;
  ArchivePage* archivePage_;
  QStatusBar* statusBar_;
  std::unique_ptr<LinkStatusBar> status_;
  QTimer* timerIzmer_;
  QTimer* timerTimer_;
  TformHelp* help_ = nullptr;
  std::unique_ptr<ConfigurationFiles> configurationFiles_;
  transport::TClientSocket* clientSocket1_;

  QtEventPump pump_;
  std::unique_ptr<modbus::TickSource> ownTick_;
  std::unique_ptr<DebugDumpObserver> observer_;
  // Every write of the window, the debug page's too, reaches the log through
  // the exchanges' observer, ahead of the debug page's dumps.
  std::unique_ptr<oplog::OperationsLog> log_;
  std::unique_ptr<oplog::LoggingObserver> logObserver_;
  OperationsLogWindow* journal_ = nullptr;  // made at the first "Журнал"
  std::unique_ptr<device::DeviceLink> link_;
  std::unique_ptr<device::MeasurementPoll> poll_;
  TrendRecorder* trendRecorder_;
  // The calibration record of the instrument found, and its dialog.
  CalibrationRecordExport* calibrationRecords_;
  TformTrend* formTrend_ = nullptr;  // made at the first "Тренд"
  TformScan* formScan_ = nullptr;    // made at the first "Сканировать линию"
  std::set<std::string> deferredClicks_;
  bool operationRunning_ = false;  // a button's operation, not the poll, holds the link
  QString runningOperation_;       // its name, for the status bar
  // How the link's last request or port check ended, and whether a click was
  // turned away during the operation under way.
  std::optional<device::LinkOutcome> lastOutcome_;
  QString busyNotice_;
  ReadOrigins readOrigins_;
  bool closed_ = false;  // nothing starts on the link any more

  bool shown_ = false;
  bool settingsUsable_ = false;
};
