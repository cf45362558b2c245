// Renders every tab page of the main window, after a discovery against an
// in-process simulator, to PNG files: ulm5-screenshots DIR; also the status
// bar in each state, the held-back poll, the help window, the trend and the
// dialogs of the configuration files, the log of writes and the scan of a line
// with several units. A developer's tool for checking the layout; it runs on
// the offscreen platform.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "sim/simulator.h"
#include "sim/tcp_test_peer.h"
#include "tests/ui/window_on_simulator.h"
#include "trend/setpoint_levels.h"
#include "ui/application_title.h"
#include "ui/application_windows.h"
#include "ui/calibration_record_dialog.h"
#include "ui/calibration_record_export.h"
#include "ui/configuration_files.h"
#include "ui/link_status_bar.h"
#include "ui/tform_scan.h"
#include "ui/tform_trend.h"
#include "ui/trend_recorder.h"

namespace {

bool save(QWidget& widget, const QDir& dir, const QString& name) {
  QCoreApplication::processEvents();
  const QString path = dir.filePath(name + QStringLiteral(".png"));
  const bool ok = widget.grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

template <typename T>
T* child(QWidget& form, const char* name) {
  return form.findChild<T*>(QLatin1String(name));
}

// One read of the current data block by hand: 04h, 13 registers from 0.
void exchangeOnTheDebugPage(TformMain& form) {
  child<QComboBox>(form, "cbPort")->setCurrentIndex(0);
  child<QComboBox>(form, "cbBaud")->setCurrentIndex(6);
  child<QComboBox>(form, "cbCmd")->setCurrentIndex(3);
  const std::pair<const char*, const char*> fields[] = {
      {"editZader", "1000"}, {"editZaderMin", "200"}, {"editZaderRx", "100"},
      {"editAdr", "0"},      {"editAdrReg", "0"},     {"editKolReg", "13"}};
  for (const auto& [name, text] : fields) child<QLineEdit>(form, name)->setText(text);
  form.btnObmenClick();
}

// Connected to the simulator's loopback peer, the test text sent and answered.
void connectTheEthernetPage(TformMain& form, uint16_t port) {
  child<QLineEdit>(form, "EditIP")->setText(QStringLiteral("127.0.0.1"));
  child<QLineEdit>(form, "EditIPPort")->setText(QString::number(port));
  form.BitBtnIPConnectClick();
  auto* status = child<QLabel>(form, "StaticTextStatusIP");
  QDeadlineTimer deadline(5000);
  while (status->text() != QStringLiteral("Соединение открыто") && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  form.ButtonIPWriteClick();
  auto* received = child<QLabel>(form, "StaticTextIPRead");
  while (received->text().isEmpty() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

// Ten minutes of polls, the instrument's time and the trend's clock moved on
// by the poll period between them: the simulator's sweep, a stretch with a
// fault, and a few polls of a silent instrument.
void pollForTheTrend(TformMain& form, sim::Simulator& simulator) {
  constexpr int kPolls = 300;
  constexpr int kPeriodMs = 2000;
  QDateTime at = QDateTime::currentDateTime().addMSecs(-int64_t{kPolls} * kPeriodMs);
  form.trendRecorder().setClock([&at] { return at; });
  for (int n = 0; n < kPolls; ++n) {
    simulator.instrument().setFaultWord(n >= 120 && n < 150 ? 0x0004 : 0);
    simulator.setFault(n >= 200 && n < 205 ? sim::Fault::kSilent : sim::Fault::kNone);
    simulator.instrument().advance(std::chrono::milliseconds(kPeriodMs));
    at = at.addMSecs(kPeriodMs);
    form.TimerIzmerTimer();
  }
  form.trendRecorder().setClock({});
}

// `then` run inside the exchange of `start`, while it waits for its reply.
void duringTheExchange(const std::function<void()>& start, const std::function<void()>& then) {
  QTimer::singleShot(0, then);
  start();
}

// The status bar in each state, as a strip of the main window.
bool statusBarStates(TformMain& form, sim::Simulator& simulator, const QDir& out) {
  auto* bar = form.findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
  bool ok = true;
  int n = 0;
  const auto shoot = [&](const char* state) {
    ok = save(*bar, out,
              QStringLiteral("10_StatusBar_%1_%2")
                  .arg(++n, 2, 10, QLatin1Char('0'))
                  .arg(QLatin1String(state))) &&
         ok;
  };
  form.BitBtnFindPribClick();
  shoot("found");
  duringTheExchange([&] { form.buttonReadNastrPribClick(); }, [&] { shoot("under_way"); });
  duringTheExchange([&] { form.buttonReadNastrPribClick(); }, [&] { form.BitBtnFindPribClick(); });
  shoot("busy");
  const std::pair<sim::Fault, const char*> faults[] = {{sim::Fault::kSilent, "no_reply"},
                                                       {sim::Fault::kExceptionAll, "exception"},
                                                       {sim::Fault::kBadLrc, "garbled"}};
  for (const auto& [fault, state] : faults) {
    simulator.setFault(fault);
    form.buttonReadNastrPribClick();
    shoot(state);
  }
  simulator.setFault(sim::Fault::kNone);
  // The causes a serial port tells, on a device path of a usual length and
  // on a long one.
  using Kind = modbus::PortFailureKind;
  const std::pair<Kind, const char*> causes[] = {{Kind::kNotFound, "not_found"},
                                                 {Kind::kNoPermission, "no_permission"},
                                                 {Kind::kHeldByOther, "held"},
                                                 {Kind::kNotSerial, "not_serial"},
                                                 {Kind::kSettingsRefused, "refused"},
                                                 {Kind::kWentAway, "went_away"},
                                                 {Kind::kOther, "other"}};
  for (const auto& [kind, state] : causes) {
    form.linkStatus().showOutcome(
        {device::LinkOutcome::Kind::kPortFailed, {kind, 5, "/dev/ttyUSB0"}, 0});
    shoot(state);
  }
  form.linkStatus().showOutcome(
      {device::LinkOutcome::Kind::kPortFailed,
       {Kind::kNoPermission, 13, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
       0});
  shoot("long_path");
  form.buttonReadNastrPribClick();
  return ok;
}

// Three writes in the log, the last one stopped part-way, then a write the
// log cannot take: the journal window and the status bar's notice.
bool operationsLog(TformMain& form, sim::Simulator& simulator, const QDir& out,
                   const QString& stateHome) {
  form.BitBtnWriteNastrPribClick();
  form.btnWriteDataTimeClick();
  form.BitBtnReadNatrUstClick();
  simulator.setSilentAfter(2);
  form.BitBtnWriteNatrUstClick();
  simulator.setSilentAfter(-1);
  form.BitBtnJournalClick();
  auto* journal = form.findChild<QWidget*>(QStringLiteral("FormJournal"));
  bool ok = journal && save(*journal, out, QStringLiteral("11_FormJournal"));
  if (journal) journal->close();
  const QString blocked = stateHome + QStringLiteral("-blocked");
  QDir().mkpath(blocked);
  QFile(blocked + QStringLiteral("/ulm5")).open(QIODevice::WriteOnly);
  qputenv("XDG_STATE_HOME", blocked.toUtf8());
  form.BitBtnWriteNastrPribClick();
  qputenv("XDG_STATE_HOME", stateHome.toUtf8());
  auto* bar = form.findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
  return save(*bar, out, QStringLiteral("10_StatusBar_99_log_not_written")) && ok;
}

// The measurement page while an archive read holds the poll back.
bool heldBackPoll(TformMain& form, const QDir& out) {
  auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
  pages->setCurrentIndex(1);
  child<QLineEdit>(form, "EditColZap")->setText(QStringLiteral("1"));
  bool ok = false;
  form.BitBtnIzmerStartClick();
  form.TimerIzmerTimer();
  duringTheExchange([&] { form.BitBtnReadArhClick(); },
                    [&] {
                      form.TimerIzmerTimer();
                      ok = save(form, out, QStringLiteral("2b_TabSheet2_held_back"));
                    });
  form.BitBtnIzmerStopClick();
  pages->setCurrentIndex(0);
  return ok;
}

// Setpoints 1 and 2 on at the same level, 3 switched off far outside the
// trend, 4 on lower down.
void setpointsForTheTrend(TformMain& form) {
  double low = INFINITY;
  double high = -INFINITY;
  for (const trend::Sample& sample : form.trendRecorder().samples().samples()) {
    if (!sample.answered) continue;
    low = std::min(low, double{sample.value(trend::Series::kPhysical)});
    high = std::max(high, double{sample.value(trend::Series::kPhysical)});
  }
  const auto at = [&](double share) {
    return QString::number(low + share * (high - low), 'f', 1).toStdString();
  };
  device::SetpointsForm setpoints;
  setpoints.decimalPoint = 1;
  setpoints.setpoints[0] = {true, at(0.75), "", {}};
  setpoints.setpoints[1] = {true, at(0.75), "", {}};
  setpoints.setpoints[2] = {false, QString::number(high * 20 + 100, 'f', 1).toStdString(), "", {}};
  setpoints.setpoints[3] = {true, at(0.2), "", {}};
  form.trendRecorder().setSetpointLevels(trend::SetpointLevelsOf(setpoints));
}

// The dialogs of "Загрузить конфигурацию…" and "Сравнить с файлом…" for a
// file of another unit whose filter period, setpoint and coefficient differ.
bool configurationDialogs(TformMain& form, sim::Simulator& simulator, const QDir& out) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("конфигурация.json"));
  ConfigurationFiles& files = form.configurationFiles();
  files.setFileNameProvider([&](ConfigurationFiles::FileAction) { return file; });
  bool ok = false;
  QString name;
  files.setDialogRunner([&](QDialog& dialog) {
    dialog.show();
    ok = save(dialog, out, name);
    return static_cast<int>(QDialog::Rejected);
  });
  form.BitBtnSaveConfigClick();
  sim::Instrument& instrument = simulator.instrument();
  const std::string held = instrument.holdingBytes(0, 186);
  instrument.setHoldingBytes(3, std::string("\x05\x0A", 2));
  instrument.setHoldingBytes(18, std::string("\x00\x00\xAF\x43", 4));
  instrument.setHoldingBytes(166, std::string("\x00\x00\xC0\x3F", 4));
  instrument.setSerialNumber(instrument.serialNumber() + 1);
  name = QStringLiteral("11_FormConfigChanges");
  form.BitBtnLoadConfigClick();
  const bool changes = ok;
  name = QStringLiteral("12_FormConfigCompare");
  ok = false;
  form.BitBtnCompareConfigClick();
  instrument.setHoldingBytes(0, held);
  return changes && ok;
}

// The window "Сканирование линии" while the scan goes on, two units listed,
// and once it has been through the line.
bool scanOfTheLine(TformMain& form, const QDir& out) {
  bool ok = false;
  QMetaObject::Connection listed;
  QTimer::singleShot(0, [&] {
    auto* scan = form.findChild<TformScan*>(QStringLiteral("TformScan"));
    auto* grid = scan->findChild<QTableWidget*>(QStringLiteral("StringGridScan"));
    listed =
        QObject::connect(grid->model(), &QAbstractItemModel::rowsInserted, grid, [&, scan, grid] {
          if (grid->rowCount() < 2) return;
          QObject::disconnect(listed);
          // Taken while the next address waits for its reply.
          QTimer::singleShot(
              0, [&, scan] { ok = save(*scan, out, QStringLiteral("11a_TformScan_under_way")); });
        });
  });
  form.BitBtnScanLineClick();
  auto* scan = form.findChild<TformScan*>(QStringLiteral("TformScan"));
  if (!scan) return false;
  ok = save(*scan, out, QStringLiteral("11b_TformScan_done")) && ok;
  scan->close();
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  setApplicationTitle();
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }

  // Some faults, an active setpoint and a closed relay, so that the
  // measurement page shows each kind of indicator lit.
  sim::SimulatorOptions options;
  options.faultWord = 0x0405;
  options.heldOutputs = std::pair<uint8_t, uint8_t>{0x05, 0x06};
  // More units on the line for the scan; only the first answers address 0.
  options.moreAddresses = {5, 17, 200};
  WindowOnSimulator session(options);
  sim::Simulator& simulator = session.simulator;
  ApplicationWindows& windows = session.windows();
  TformMain& form = session.form();
  // The writes shown go to a log of this run's own.
  const QString stateHome = session.stateHome();
  // Every page filled from the instrument: identification, settings, clock,
  // and one measurement poll.
  form.BitBtnFindPribClick();
  form.buttonReadNastrPribClick();
  form.btnReadDataTimeClick();
  form.BitBtnReadNatrUstClick();
  form.BitBtnReadKoeffClick();
  form.BitBtnReadArhClick();
  form.BitBtnIzmerStartClick();
  form.TimerIzmerTimer();
  exchangeOnTheDebugPage(form);
  sim::TcpTestPeer peer(0);
  connectTheEthernetPage(form, peer.port());

  auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
  if (!pages) return 1;
  bool ok = true;
  for (int i = 0; ok && i < pages->count(); ++i) {
    // The debug tab is hidden in the window; shown here only for its picture.
    const bool hidden = !pages->isTabVisible(i);
    pages->setTabVisible(i, true);
    pages->setCurrentIndex(i);
    ok = save(form, out, QStringLiteral("%1_%2").arg(i + 1).arg(pages->widget(i)->objectName()));
    pages->setTabVisible(i, !hidden);
  }
  pages->setCurrentIndex(0);
  // The record's dialog as a printer would offer it, after a point calibrated.
  if (auto* records = form.findChild<CalibrationRecordExport*>()) {
    child<QComboBox>(form, "ComboBoxCalibrPoint")->setCurrentIndex(0);
    child<QLineEdit>(form, "EditZnacKalibr")->setText(QStringLiteral("4012"));
    form.BitBtnCalibPointClick();
    CalibrationRecordDialog dialog(records->record(), QStringLiteral("Пётр Иванов"), true, &form);
    dialog.show();
    ok = save(dialog, out, QStringLiteral("11_FormCalibrationRecord")) && ok;
  } else {
    ok = false;
  }
  form.BitBtnIzmerStopClick();
  ok = heldBackPoll(form, out) && ok;
  ok = statusBarStates(form, simulator, out) && ok;
  ok = operationsLog(form, simulator, out, stateHome) && ok;
  windows.formHelp().show();
  ok = save(windows.formHelp(), out, QStringLiteral("8_TformHelp")) && ok;
  windows.formHelp().hide();

  form.BitBtnIzmerStartClick();
  pollForTheTrend(form, simulator);
  setpointsForTheTrend(form);
  child<QPushButton>(form, "BitBtnTrend")->click();
  if (auto* trend = form.findChild<TformTrend*>(QStringLiteral("TformTrend"))) {
    ok = save(*trend, out, QStringLiteral("9_TformTrend")) && ok;
    trend->resize(trend->minimumSizeHint());
    ok = save(*trend, out, QStringLiteral("9b_TformTrend_smallest")) && ok;
    trend->findChild<QCheckBox*>(QStringLiteral("CheckBoxTrendXC"))->setChecked(false);
    ok = save(*trend, out, QStringLiteral("9c_TformTrend_without_temperature")) && ok;
    trend->close();
  } else {
    ok = false;
  }
  form.BitBtnIzmerStopClick();
  ok = configurationDialogs(form, simulator, out) && ok;
  ok = scanOfTheLine(form, out) && ok;
  form.close();
  return ok ? 0 : 1;
}
