#include "ui/tform_main.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <utility>

#include "backup/local_time_text.h"
#include "device/archive_read.h"
#include "device/calibration_coefficients.h"
#include "device/clock_setting.h"
#include "device/debug_exchange.h"
#include "device/discovery.h"
#include "device/general_settings.h"
#include "device/link_messages.h"
#include "device/output_current.h"
#include "device/point_calibration.h"
#include "device/setpoints.h"
#include "modbus/steady_tick.h"
#include "transport/tcp/client_socket.h"
#include "trend/setpoint_levels.h"
#include "ui/archive_page.h"
#include "ui/calibration_page.h"
#include "ui/calibration_record_export.h"
#include "ui/compact_tab_style.h"
#include "ui/configuration_files.h"
#include "ui/connection_panel.h"
#include "ui/connection_settings.h"
#include "ui/debug_dump_observer.h"
#include "ui/debug_page.h"
#include "ui/ethernet_page.h"
#include "ui/general_settings_page.h"
#include "ui/link_status_bar.h"
#include "ui/log_failure_text.h"
#include "ui/measurements_page.h"
#include "ui/message_display.h"
#include "ui/operation_names.h"
#include "ui/operations_log_window.h"
#include "ui/panel_discovery_view.h"
#include "ui/setpoints_page.h"
#include "ui/tform_help.h"
#include "ui/tform_scan.h"
#include "ui/tform_trend.h"
#include "ui/trend_recorder.h"
#include "ui/window_operation_controls.h"

namespace {

constexpr int kTimerIzmerInterval = 2000;
constexpr int kTimerTimerInterval = 1000;
// "Остановить измерение" lets the instrument finish before the port closes.
constexpr int kStopWaitMs = 1000;
// How often a click that found the link busy looks again.
constexpr int kBusyRetryMs = 20;

QTimer* namedTimer(QObject* owner, const QString& name, int interval) {
  auto* timer = new QTimer(owner);
  timer->setObjectName(name);
  timer->setInterval(interval);
  return timer;
}

}  // namespace

TformMain::TformMain(QString settingsPath, MessageDisplay& messages, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      settings_(std::move(settingsPath)),
      messages_(messages) {
  setObjectName(QStringLiteral("formMain"));
  setWindowTitle(QStringLiteral("Конфигуратор ULM5"));
  setFixedSize(kClientWidth, kClientHeight);

  panel_ = new ConnectionPanel;
  pageControl_ = new QTabWidget;
  pageControl_->setObjectName(QStringLiteral("PageControl1"));
  CompactTabStyle::apply(*pageControl_->tabBar());
  generalPage_ = new GeneralSettingsPage;
  pageControl_->addTab(generalPage_, QStringLiteral("Общие настройки"));
  measurementsPage_ = new MeasurementsPage;
  pageControl_->addTab(measurementsPage_, QStringLiteral("Измерения"));
  setpointsPage_ = new SetpointsPage;
  pageControl_->addTab(setpointsPage_, QStringLiteral("Уставки"));
  pageControl_->addTab(new CalibrationPage, QStringLiteral("Калибровка"));
  archivePage_ = new ArchivePage;
  pageControl_->addTab(archivePage_, QStringLiteral("Архивы"));
  auto* debugPage = new DebugPage;
  pageControl_->addTab(debugPage, QStringLiteral("Отладка"));
  pageControl_->addTab(new EthernetPage, QStringLiteral("Ethernet"));
  pageControl_->setCurrentIndex(0);

  statusBar_ = new QStatusBar;
  statusBar_->setObjectName(QStringLiteral("StatusBar1"));
  statusBar_->setSizeGripEnabled(false);
  statusBar_->setFixedHeight(kStatusBarHeight);
  status_ = std::make_unique<LinkStatusBar>(*statusBar_);

  auto* body = new QHBoxLayout;
  body->setContentsMargins(0, 0, 0, 0);
  body->setSpacing(0);
  body->addWidget(panel_);
  body->addWidget(pageControl_, 1);
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->setSpacing(0);
  frame->addLayout(body, 1);
  frame->addWidget(statusBar_);

  trendRecorder_ = new TrendRecorder(this);
  calibrationRecords_ = new CalibrationRecordExport(this);
  configurationFiles_ = std::make_unique<ConfigurationFiles>(*this);
  timerIzmer_ = namedTimer(this, QStringLiteral("TimerIzmer"), kTimerIzmerInterval);
  timerTimer_ = namedTimer(this, QStringLiteral("TimerTimer"), kTimerTimerInterval);
  connect(timerTimer_, &QTimer::timeout, this, &TformMain::TimerTimerTimer);
  timerTimer_->start();

  // The panel's address field shows the Ethernet page's default address.
  if (auto* ip = findChild<QLineEdit*>(QStringLiteral("EditIP")))
    panel_->Edit1()->setText(ip->text());

  observer_ = std::make_unique<DebugDumpObserver>(
      debugPage->findChild<QLineEdit*>(QStringLiteral("editQuery")),
      debugPage->findChild<QLineEdit*>(QStringLiteral("editAnswer")));
  log_ = std::make_unique<oplog::OperationsLog>(oplog::LogSource{
      "ulm5-configurator", [] { return backup::LocalTimeText(std::chrono::system_clock::now()); },
      [this](int portNumber) {
        const auto path = connection_settings::portDevicePath(settings_, portNumber);
        return LinkStatusBar::portTextOf(portNumber, QString::fromStdString(path)).toStdString();
      }});
  // The write itself has gone ahead; the status bar says that its line is missing.
  log_->setFailureListener([this](const oplog::LogFailure& failure) {
    if (!closed_) status_->addNotice(LogFailureText(failure));
  });
  logObserver_ = std::make_unique<oplog::LoggingObserver>(*log_, observer_.get());

  connect(panel_->BitBtnFindPrib(), &QPushButton::clicked, this, &TformMain::BitBtnFindPribClick);
  connect(status_->journalButton(), &QAbstractButton::clicked, this,
          &TformMain::BitBtnJournalClick);
  connect(panel_->BitBtnScanLine(), &QPushButton::clicked, this, &TformMain::BitBtnScanLineClick);
  const std::pair<const char*, void (TformMain::*)()> handlers[] = {
      {"buttonReadNastrPrib", &TformMain::buttonReadNastrPribClick},
      {"BitBtnWriteNastrPrib", &TformMain::BitBtnWriteNastrPribClick},
      {"btnCopyTime", &TformMain::btnCopyTimeClick},
      {"btnReadDataTime", &TformMain::btnReadDataTimeClick},
      {"btnWriteDataTime", &TformMain::btnWriteDataTimeClick},
      {"BitBtnIzmerStart", &TformMain::BitBtnIzmerStartClick},
      {"BitBtnIzmerStop", &TformMain::BitBtnIzmerStopClick},
      {"BitBtnTrend", &TformMain::BitBtnTrendClick},
      {"BitBtnSaveConfig", &TformMain::BitBtnSaveConfigClick},
      {"BitBtnLoadConfig", &TformMain::BitBtnLoadConfigClick},
      {"BitBtnCompareConfig", &TformMain::BitBtnCompareConfigClick},
      {"BitBtnReadKoeff", &TformMain::BitBtnReadKoeffClick},
      {"BitBtnWriteKoeff", &TformMain::BitBtnWriteKoeffClick},
      {"BitBtnCalibPoint", &TformMain::BitBtnCalibPointClick},
      {"BitBtnSetCurrent", &TformMain::BitBtnSetCurrentClick},
      {"BitBtnProtocol", &TformMain::BitBtnProtocolClick},
      {"BitBtnReadNatrUst", &TformMain::BitBtnReadNatrUstClick},
      {"BitBtnWriteNatrUst", &TformMain::BitBtnWriteNatrUstClick},
      {"BitBtnIPConnect", &TformMain::BitBtnIPConnectClick},
      {"BitBtnIPDisconnect", &TformMain::BitBtnIPDisconnectClick},
      {"ButtonIPWrite", &TformMain::ButtonIPWriteClick},
      {"BitBtnReadArh", &TformMain::BitBtnReadArhClick},
      {"BitBtnCancelReadArh", &TformMain::BitBtnCancelReadArhClick},
      {"btnObmen", &TformMain::btnObmenClick},
      {"BitBtn4", &TformMain::BitBtn4Click},
      {"BitBtn5", &TformMain::BitBtn5Click},
  };
  for (const auto& [name, handler] : handlers) {
    connect(&button(name), &QAbstractButton::clicked, this, handler);
  }
  clientSocket1_ = new transport::TClientSocket(this);
  clientSocket1_->setObjectName(QStringLiteral("ClientSocket1"));
  connect(clientSocket1_, &transport::TClientSocket::OnConnect, this,
          &TformMain::ClientSocket1Connect);
  connect(clientSocket1_, &transport::TClientSocket::OnDisconnect, this,
          &TformMain::ClientSocket1Disconnect);
  connect(clientSocket1_, &transport::TClientSocket::OnRead, this, &TformMain::ClientSocket1Read);
  connect(timerIzmer_, &QTimer::timeout, this, &TformMain::TimerIzmerTimer);
  // Only a pick by the user: the list defaults at the first showing do not re-lay the fields.
  connect(findChild<QComboBox*>(QStringLiteral("ComboBoxPolZap")), &QComboBox::activated, this,
          &TformMain::ComboBoxPolZapChange);
  if (auto* help = debugPage->findChild<QPushButton*>(QStringLiteral("Button1"))) {
    connect(help, &QPushButton::clicked, this, &TformMain::Button1Click);
  }
  // The debug tab is hidden from the first showing on; this is the way to it and away again.
  auto* debugTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), this);
  connect(debugTab, &QShortcut::activated, this, [this, debugPage] {
    const int index = pageControl_->indexOf(debugPage);
    const bool show = !pageControl_->isTabVisible(index);
    pageControl_->setTabVisible(index, show);
    if (show) pageControl_->setCurrentIndex(index);
  });
  connect(panel_->ComboBoxPort(), &QComboBox::currentIndexChanged, this,
          &TformMain::updatePortToolTip);
}

TformMain::~TformMain() = default;

void TformMain::attachPort(modbus::PortInterface& port, modbus::TickSource* tick) {
  if (!tick) {
    ownTick_ = std::make_unique<modbus::SteadyTick>();
    tick = ownTick_.get();
  }
  poll_.reset();
  link_ = std::make_unique<device::DeviceLink>(
      modbus::LinkServices{port, *tick, pump_, logObserver_.get()});
  link_->setOutcomeListener([this](const device::LinkOutcome& outcome) { lastOutcome_ = outcome; });
  poll_ = std::make_unique<device::MeasurementPoll>(*link_, *measurementsPage_);
  poll_->setListener(trendRecorder_);
}

bool TformMain::deferWhileBusy(const char* buttonName, std::function<void()> retry) {
  if (!link_->busy()) return false;
  // A click during another operation's exchange is not served: a second press
  // of "Калибровка точки" must not send a second command. The status bar
  // says why nothing happened.
  if (operationRunning_) {
    busyNotice_ = QStringLiteral("Прибор занят (идёт %1): «%2» не выполнено")
                      .arg(runningOperation_, button(buttonName).text());
    status_->showNotice(busyNotice_);
    return true;
  }
  // The measurement poll holds the link: the click is served once its exchange
  // has ended, and only once however often it came.
  if (deferredClicks_.insert(buttonName).second) {
    QTimer::singleShot(kBusyRetryMs, this, [this, buttonName, retry = std::move(retry)] {
      deferredClicks_.erase(buttonName);
      retry();
    });
  }
  return true;
}

QAbstractButton& TformMain::button(const char* name) const {
  auto* found = findChild<QAbstractButton*>(QLatin1String(name));
  Q_ASSERT(found);
  return *found;
}

void TformMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  FormShow();
}

void TformMain::closeEvent(QCloseEvent* event) {
  FormClose();
  endOperations();
  event->accept();
}

void TformMain::FormShow() {
  selectListDefaults();
  pageControl_->setTabVisible(
      pageControl_->indexOf(findChild<QWidget*>(QStringLiteral("TabSheet3"))), false);
  setUpArchiveGrid();
  restoreConnection();
}

void TformMain::selectListDefaults() {
  QStringList names{QStringLiteral("ComboBoxDayWeek"), QStringLiteral("ComboBoxPolZap")};
  for (int n = 1; n <= 4; ++n) {
    for (const char* kind : {"Type", "Vid", "ReleStart", "ReleObr"}) {
      names << QStringLiteral("ComboBoxNastrPribUst%1%2").arg(QLatin1String(kind)).arg(n);
    }
  }
  names << QStringLiteral("ComboBoxCalibrPoint");
  for (const QString& name : names) {
    if (auto* list = findChild<QComboBox*>(name); list && list->count() > 0) {
      list->setCurrentIndex(0);
    }
  }
}

void TformMain::setUpArchiveGrid() {
  auto* grid = findChild<QTableWidget*>(QStringLiteral("StringGridArh"));
  if (!grid) return;
  static constexpr int kWidths[] = {40, 100, 65, 65, 55};
  const QStringList header{QStringLiteral("№"), QStringLiteral("Дата,время"),
                           QStringLiteral("Измерение"), QStringLiteral("I,R,U"),
                           QStringLiteral("Темп.XC ")};
  if (grid->columnCount() < 5) grid->setColumnCount(5);
  for (int column = 0; column < 5; ++column) grid->setColumnWidth(column, kWidths[column]);
  grid->setHorizontalHeaderLabels(header);
}

void TformMain::restoreConnection() {
  if (!settings_.isUsable()) {
    messages_.error("Файл конфигурации не найден");
    // Ends the application without reading or writing any setting.
    QTimer::singleShot(0, this, &QWidget::close);
    return;
  }
  settingsUsable_ = true;

  // A refused write is reported and start-up goes on with the values in
  // hand, so the window opens and stays closable.
  try {
    panel_->restoreSettings(settings_);
  } catch (const ProfileFile::WriteError& error) {
    reportWriteFailure(error);
  }
  updatePortToolTip();
}

void TformMain::FormClose() {
  if (!settingsUsable_) return;
  try {
    panel_->storeSettings(settings_);
  } catch (const ProfileFile::WriteError& error) {
    // The window closes all the same.
    reportWriteFailure(error);
  }
}

void TformMain::endOperations() {
  closed_ = true;
  messages_.windowClosed();
  timerIzmer_->stop();
  timerTimer_->stop();
  archivePage_->requestCancel();
  if (formScan_) formScan_->close();
  if (link_) link_->shutDown();
}

void TformMain::reportWriteFailure(const ProfileFile::WriteError& error) {
  messages_.exception(error.what());
}

void TformMain::updatePortToolTip() {
  const int index = panel_->ComboBoxPort()->currentIndex();
  if (!settingsUsable_ || index < 0) return;
  const QString path =
      QString::fromStdString(connection_settings::portDevicePath(settings_, index + 1));
  panel_->ComboBoxPort()->setToolTip(path);
  status_->showPort(index + 1, path);
}

void TformMain::beginOperation(const QString& name) {
  runningOperation_ = name;
  lastOutcome_.reset();
  busyNotice_.clear();
  status_->showOperation(name);
  log_->beginOperation(name.toStdString());
}

void TformMain::endOperation() {
  runningOperation_.clear();
  showOperationEnd();
  // Last: a line the log could not take is added to what the status bar shows.
  log_->endOperation();
}

void TformMain::showOperationEnd() {
  if (closed_) return;
  // What went wrong tells more than a click turned away meanwhile.
  if (lastOutcome_) status_->showOutcome(*lastOutcome_);
  if (lastOutcome_ && lastOutcome_->kind != device::LinkOutcome::Kind::kAnswered) return;
  if (!busyNotice_.isEmpty())
    status_->showNotice(busyNotice_);
  else
    status_->clearState();
}

void TformMain::instrumentIdentified(const device::IdentificationTexts& texts) {
  log_->instrumentFound(panel_->ComboBoxPort()->currentIndex() + 1, texts.serial);
  status_->showInstrument(QString::fromStdString(texts.type), QString::fromStdString(texts.serial));
  calibrationRecords_->record().instrumentFound(texts);
  for (const ReadOrigins::Page page : readOrigins_.found(texts.serial)) {
    switch (page) {
      case ReadOrigins::kGeneralSettings:
        generalPage_->showSettings({});
        break;
      case ReadOrigins::kSetpoints:
        setpointsPage_->clearReadValues();
        trendRecorder_->clearSetpointLevels();
        break;
      case ReadOrigins::kCalibration:
        calibrationPage().clearCoefficients();
        break;
    }
  }
}

void TformMain::pageRead(ReadOrigins::Page page, device::OperationOutcome outcome) {
  if (outcome != device::OperationOutcome::kNotStarted &&
      outcome != device::OperationOutcome::kPortError)
    readOrigins_.read(page);
}

void TformMain::TimerTimerTimer() { generalPage_->showPcClock(QDateTime::currentDateTime()); }

void TformMain::BitBtnFindPribClick() {
  if (closed_) return;
  if (!link_) {
    messages_.error(device::kCannotOpenPortText);
    return;
  }
  if (deferWhileBusy("BitBtnFindPrib", [this] { BitBtnFindPribClick(); })) return;
  PanelDiscoveryView view(
      *panel_, *timerIzmer_, *generalPage_->findChild<QWidget*>(QStringLiteral("GroupBox3")),
      closed_, [this](const device::IdentificationTexts& texts) { instrumentIdentified(texts); });
  const bool outer = !std::exchange(operationRunning_, true);
  beginOperation(OperationName(QStringLiteral("BitBtnFindPrib")));
  // Until it answers, the instrument on the port is not known.
  log_->instrumentFound(panel_->ComboBoxPort()->currentIndex() + 1, {});
  device::RunDiscovery(*link_, view, messages_);
  endOperation();
  if (outer) operationRunning_ = false;
}

void TformMain::BitBtnScanLineClick() {
  runOperation("BitBtnScanLine", [this](device::OperationControls& controls) {
    if (!formScan_) {
      formScan_ = new TformScan(this);
      connect(formScan_, &TformScan::addressChosen, this, &TformMain::StringGridScanDblClick);
    }
    formScan_->scan(*link_, controls, messages_);
  });
}

void TformMain::StringGridScanDblClick(int address) { panel_->setInstrumentAddress(address); }

void TformMain::Button1Click() {
  if (!help_) return;
  // Centred over the main window each time, also after the user moved it.
  // The platform window must exist for the frame to count in its size.
  help_->winId();
  const QRect main = frameGeometry();
  const QRect help = help_->frameGeometry();
  help_->move(main.left() + main.width() / 2 - help.width() / 2,
              main.top() + main.height() / 2 - help.height() / 2);
  help_->exec();
}

template <typename Operation>
void TformMain::runOperation(const char* buttonName, Operation operation) {
  if (closed_) return;
  if (!link_) {
    messages_.error(device::kCannotOpenPortText);
    return;
  }
  if (deferWhileBusy(buttonName,
                     [this, buttonName, operation] { runOperation(buttonName, operation); })) {
    return;
  }
  WindowOperationControls controls(*panel_, *timerIzmer_, button(buttonName));
  const bool outer = !std::exchange(operationRunning_, true);
  beginOperation(OperationName(QLatin1String(buttonName)));
  operation(controls);
  endOperation();
  if (outer) operationRunning_ = false;
}

void TformMain::buttonReadNastrPribClick() {
  runOperation("buttonReadNastrPrib", [this](device::OperationControls& controls) {
    pageRead(ReadOrigins::kGeneralSettings,
             device::ReadGeneralSettings(*link_, controls, *generalPage_, messages_));
  });
}

void TformMain::BitBtnWriteNastrPribClick() {
  runOperation("BitBtnWriteNastrPrib", [this](device::OperationControls& controls) {
    device::WriteGeneralSettings(*link_, controls, *generalPage_, messages_);
  });
}

void TformMain::btnCopyTimeClick() { generalPage_->copyPcClock(); }

void TformMain::btnReadDataTimeClick() {
  runOperation("btnReadDataTime", [this](device::OperationControls& controls) {
    device::ReadInstrumentClock(*link_, controls, *generalPage_, messages_);
  });
}

void TformMain::btnWriteDataTimeClick() {
  runOperation("btnWriteDataTime", [this](device::OperationControls& controls) {
    device::WriteInstrumentClock(*link_, controls, *generalPage_, messages_);
  });
}

void TformMain::BitBtnIzmerStartClick() {
  runOperation("BitBtnIzmerStart", [this](device::OperationControls& controls) {
    if (!poll_->start(controls.connection(), messages_)) return;
    button("BitBtnIzmerStart").setEnabled(false);
    button("BitBtnIzmerStop").setEnabled(true);
    timerIzmer_->start();
  });
}

void TformMain::BitBtnIzmerStopClick() {
  if (poll_) poll_->stop();
  if (!operationRunning_) status_->clearState();
  button("BitBtnIzmerStart").setEnabled(true);
  button("BitBtnIzmerStop").setEnabled(false);
  timerIzmer_->stop();
  QEventLoop wait;
  QTimer::singleShot(kStopWaitMs, &wait, &QEventLoop::quit);
  wait.exec();
  // Under a poll exchange still waiting, the close follows once it has ended.
  if (link_) link_->closePort();
}

// The trend only listens to the poll: opening it sends nothing.
void TformMain::BitBtnTrendClick() {
  if (!formTrend_) formTrend_ = new TformTrend(*trendRecorder_, settings_.path(), messages_, this);
  formTrend_->show();
  formTrend_->raise();
  formTrend_->activateWindow();
}

void TformMain::TimerIzmerTimer() {
  if (!poll_ || closed_) return;
  lastOutcome_.reset();
  switch (poll_->poll(QLocale::system().decimalPoint().toStdString())) {
    case device::PollOutcome::kHeldBack:
      // Resumes by itself at the first tick that finds the link free.
      measurementsPage_->showHeldBack(runningOperation_.isEmpty() ? QStringLiteral("обмен")
                                                                  : runningOperation_);
      break;
    case device::PollOutcome::kShown:
      if (lastOutcome_) status_->showOutcome(*lastOutcome_);
      status_->showOperation(PollOperationName());
      break;
    case device::PollOutcome::kNoAnswer:
      if (lastOutcome_) status_->showOutcome(*lastOutcome_);
      break;
    case device::PollOutcome::kSkipped:
      break;
  }
}

void TformMain::BitBtnSaveConfigClick() {
  runOperation("BitBtnSaveConfig", [this](device::OperationControls& controls) {
    configurationFiles_->save(*link_, controls, messages_);
  });
}

void TformMain::BitBtnLoadConfigClick() {
  runOperation("BitBtnLoadConfig", [this](device::OperationControls& controls) {
    configurationFiles_->load(*link_, controls, messages_);
  });
}

void TformMain::BitBtnCompareConfigClick() {
  runOperation("BitBtnCompareConfig", [this](device::OperationControls& controls) {
    configurationFiles_->compare(*link_, controls, messages_);
  });
}

CalibrationPage& TformMain::calibrationPage() const { return *findChild<CalibrationPage*>(); }

void TformMain::BitBtnReadKoeffClick() {
  runOperation("BitBtnReadKoeff", [this](device::OperationControls& controls) {
    pageRead(ReadOrigins::kCalibration,
             device::ReadCalibrationCoefficients(*link_, controls, calibrationPage(), messages_,
                                                 QLocale::system().decimalPoint().toStdString(),
                                                 &calibrationRecords_->record()));
  });
}

void TformMain::BitBtnWriteKoeffClick() {
  runOperation("BitBtnWriteKoeff", [this](device::OperationControls& controls) {
    device::WriteCalibrationCoefficients(*link_, controls, calibrationPage(), messages_,
                                         QLocale::system().decimalPoint().toStdString(),
                                         &calibrationRecords_->record());
  });
}

void TformMain::BitBtnCalibPointClick() {
  runOperation("BitBtnCalibPoint", [this](device::OperationControls& controls) {
    device::CalibratePoint(*link_, controls, calibrationPage(), messages_,
                           QLocale::system().decimalPoint().toStdString(),
                           &calibrationRecords_->record());
  });
}

void TformMain::BitBtnSetCurrentClick() {
  runOperation("BitBtnSetCurrent", [this](device::OperationControls& controls) {
    device::SetOutputCurrent(*link_, controls, calibrationPage(), *generalPage_, messages_);
  });
}

// Never in the middle of a calibration: its point would be missing.
void TformMain::BitBtnProtocolClick() {
  if (closed_) return;
  if (link_ && deferWhileBusy("BitBtnProtocol", [this] { BitBtnProtocolClick(); })) return;
  calibrationRecords_->run(*this, settings_, messages_);
}

void TformMain::BitBtnReadNatrUstClick() {
  runOperation("BitBtnReadNatrUst", [this](device::OperationControls& controls) {
    const auto outcome = device::ReadSetpoints(*link_, controls, *setpointsPage_, messages_,
                                               setpointsPage_->keptByte());
    pageRead(ReadOrigins::kSetpoints, outcome);
    if (outcome == device::OperationOutcome::kDone)
      trendRecorder_->setSetpointLevels(trend::SetpointLevelsOf(setpointsPage_->setpointsForm()));
  });
}

void TformMain::BitBtnWriteNatrUstClick() {
  runOperation("BitBtnWriteNatrUst", [this](device::OperationControls& controls) {
    const auto outcome = device::WriteSetpoints(*link_, controls, *setpointsPage_, messages_,
                                                setpointsPage_->keptByte(),
                                                QLocale::system().decimalPoint().toStdString());
    // The instrument now holds what the fields show.
    if (outcome == device::OperationOutcome::kDone)
      trendRecorder_->setSetpointLevels(trend::SetpointLevelsOf(setpointsPage_->setpointsForm()));
  });
}

void TformMain::ComboBoxPolZapChange() { setpointsPage_->applyDecimalPoint(); }

void TformMain::BitBtnReadArhClick() {
  runOperation("BitBtnReadArh", [this](device::OperationControls& controls) {
    device::ReadArchive(*link_, controls, *archivePage_, messages_,
                        QLocale::system().decimalPoint().toStdString());
  });
}

// Served while a request of the read waits, between two records.
void TformMain::BitBtnCancelReadArhClick() { archivePage_->requestCancel(); }

namespace {

EthernetPage& ethernetPageOf(const QWidget& window) { return *window.findChild<EthernetPage*>(); }

}  // namespace

void TformMain::BitBtnIPConnectClick() {
  ethernetPageOf(*this).connectSocket(*clientSocket1_, messages_);
}

void TformMain::BitBtnIPDisconnectClick() {
  ethernetPageOf(*this).disconnectSocket(*clientSocket1_);
}

void TformMain::ButtonIPWriteClick() { ethernetPageOf(*this).writeTestText(*clientSocket1_); }

void TformMain::ClientSocket1Connect() { ethernetPageOf(*this).showConnected(); }

void TformMain::ClientSocket1Disconnect() { ethernetPageOf(*this).showDisconnected(); }

void TformMain::ClientSocket1Read() {
  ethernetPageOf(*this).showReceived(clientSocket1_->receiveText());
}

void TformMain::btnObmenClick() {
  if (!link_ || closed_) return;
  if (deferWhileBusy("btnObmen", [this] { btnObmenClick(); })) return;
  const bool outer = !std::exchange(operationRunning_, true);
  beginOperation(OperationName(QStringLiteral("btnObmen")));
  device::RunDebugExchange(*link_, *findChild<DebugPage*>(), messages_,
                           QLocale::system().decimalPoint().toStdString());
  runningOperation_.clear();
  status_->clearState();
  log_->endOperation();
  if (outer) operationRunning_ = false;
}

void TformMain::BitBtnJournalClick() {
  if (!journal_) journal_ = new OperationsLogWindow(this);
  journal_->reload();
  journal_->show();
  journal_->raise();
  journal_->activateWindow();
}

void TformMain::BitBtn4Click() { archivePage_->saveToFile(messages_); }

void TformMain::BitBtn5Click() { archivePage_->loadFromFile(messages_); }
