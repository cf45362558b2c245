// Renders every tab page of the main window, after a discovery against an
// in-process simulator, to PNG files: ulm5-screenshots DIR. A developer's
// tool for checking the layout; it runs on the offscreen platform.

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

#include "sim/simulator.h"
#include "sim/tcp_test_peer.h"
#include "ui/application_title.h"
#include "ui/application_windows.h"
#include "ui/calibration_record_dialog.h"
#include "ui/calibration_record_export.h"
#include "ui/connection_settings.h"
#include "ui/printing_display.h"
#include "ui/profile_file.h"
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
  sim::Simulator simulator(options);
  QTemporaryDir settingsDir;
  const QString iniPath = settingsDir.filePath(QStringLiteral("Configurator.ini"));
  ProfileFile ini(iniPath);
  connection_settings::mapPortDevice(ini, 1, simulator.devicePath());
  connection_settings::storePortNumber(ini, 1);
  connection_settings::storeBaudIndex(ini, 6);

  PrintingDisplay display;
  ApplicationWindows windows(iniPath, display);
  TformMain& form = windows.formMain();
  form.show();
  QCoreApplication::processEvents();
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
    ok = save(dialog, out, QStringLiteral("10_FormCalibrationRecord")) && ok;
  } else {
    ok = false;
  }
  form.BitBtnIzmerStopClick();
  windows.formHelp().show();
  ok = save(windows.formHelp(), out, QStringLiteral("8_TformHelp")) && ok;
  windows.formHelp().hide();

  form.BitBtnIzmerStartClick();
  pollForTheTrend(form, simulator);
  child<QPushButton>(form, "BitBtnTrend")->click();
  if (auto* trend = form.findChild<TformTrend*>(QStringLiteral("TformTrend"))) {
    ok = save(*trend, out, QStringLiteral("9_TformTrend")) && ok;
    trend->close();
  } else {
    ok = false;
  }
  form.BitBtnIzmerStopClick();
  form.close();
  return ok ? 0 : 1;
}
