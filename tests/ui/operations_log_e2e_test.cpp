// The log of writes against the simulator: every write of the window, the
// debug page's too, is one line with the registers and bytes the instrument
// received and what became of each; a log that cannot be written leaves the
// write done and says so in the status bar; "Журнал" shows the newest line
// first. The log's folder has a Cyrillic name.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <functional>

#include "modbus/frame_codec.h"
#include "tests/ui/simulated_window.h"
#include "ui/link_status_bar.h"

namespace {

// The variable as the test found it, back when the test ends.
class StateHome {
 public:
  StateHome() : saved_(qgetenv("XDG_STATE_HOME")) {}
  ~StateHome() { qputenv("XDG_STATE_HOME", saved_); }
  void set(const QString& path) { qputenv("XDG_STATE_HOME", path.toUtf8()); }

 private:
  QByteArray saved_;
};

class OperationsLogWindow : public SimulatedWindow {
 protected:
  OperationsLogWindow() : SimulatedWindow(20, sim::SimulatorOptions{}) { state_.set(stateHome()); }

  QString stateHome() const { return dir_.filePath(QStringLiteral("Состояние оператора")); }
  QString logPath() const { return stateHome() + QStringLiteral("/ulm5/operations.log"); }

  QStringList logLines() const {
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }

  // What the instrument received since the log was cleared, as the log writes
  // a request, with what the window made of its answer.
  QString receivedWrites() const {
    QStringList requests;
    for (const sim::LoggedRequest& r : simulator_.requestLog()) {
      if (r.function != 0x10) continue;
      std::string bytes = modbus::HexDump(r.data);
      bytes.pop_back();
      const QString fate = r.how == sim::LoggedRequest::Answer::kNormal ? "записано"
                           : r.how == sim::LoggedRequest::Answer::kSilent
                               ? "отправлено, не подтверждено"
                               : "не записано";
      const QString registers =
          r.count > 1 ? QStringLiteral("%1..%2").arg(r.start).arg(r.start + r.count - 1)
                      : QString::number(r.start);
      requests
          << QStringLiteral("HR %1 = %2 (%3)").arg(registers, QString::fromStdString(bytes), fate);
    }
    return requests.join(QStringLiteral("; "));
  }

  LinkStatusBar& status() const { return windows_->formMain().linkStatus(); }

  StateHome state_;
};

TEST_F(OperationsLogWindow, EveryWriteIsALineWithWhatTheInstrumentReceived) {
  click("BitBtnFindPrib");
  click("buttonReadNastrPrib");
  const QString serial = QString::number(simulator_.instrument().serialNumber());
  const QString port = "COM1 → " + QString::fromStdString(simulator_.devicePath());

  const struct {
    const char* fault;
    std::function<void()> set;
    const char* outcome;
  } writes[] = {
      {"none", [] {}, "записано"},
      {"second request unanswered", [&] { simulator_.setSilentAfter(1); },
       "отправлено, не подтверждено"},
      {"second request refused", [&] { simulator_.setExceptionAt(2); }, "записано частично"},
  };
  QStringList expected;
  for (const auto& write : writes) {
    SCOPED_TRACE(write.fault);
    simulator_.clearRequestLog();
    write.set();
    child<QLineEdit>("editPeriodFiltr")->setText(QString::number(expected.size() + 3));
    click("BitBtnWriteNastrPrib");
    simulator_.setSilentAfter(-1);
    simulator_.setExceptionAt(0);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), expected.size() + 1);
    const QStringList fields = lines.back().split(u'\t');
    ASSERT_EQ(fields.size(), 8) << lines.back().toStdString();
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d$)"))
            .match(fields[0])
            .hasMatch())
        << fields[0].toStdString();
    EXPECT_EQ(fields.mid(1),
              (QStringList{"ulm5-configurator", port, "адрес 0", "№ " + serial,
                           "запись общих настроек", receivedWrites(), write.outcome}));
    expected << lines.back();
  }

  // The debug page's own request, with its own address.
  simulator_.clearRequestLog();
  child<QComboBox>("cbPort")->setCurrentIndex(0);
  child<QComboBox>("cbBaud")->setCurrentIndex(6);
  const std::pair<const char*, const char*> fields[] = {
      {"editZader", "40000"}, {"editZaderMin", "2000"}, {"editZaderRx", "1000"}, {"editAdr", "1"},
      {"editAdrReg", "3"},    {"editKolReg", "1"},      {"EditData", "00 07"}};
  for (const auto& [name, text] : fields) child<QLineEdit>(name)->setText(text);
  child<QComboBox>("cbCmd")->setCurrentIndex(5);
  click("btnObmen");
  ASSERT_EQ(simulator_.requestLog().size(), 1u);
  const QStringList debug = logLines().back().split(u'\t');
  ASSERT_EQ(debug.size(), 8);
  EXPECT_EQ(debug.mid(3), (QStringList{"адрес 1", "№ " + serial, "обмен на странице «Отладка»",
                                       "HR 3 = 00 07 (записано)", "записано"}));

  // No folder can be made where a file stands: the write goes ahead all the
  // same, and the status bar says what is missing.
  const QString blocked = dir_.filePath(QStringLiteral("Занято"));
  ASSERT_TRUE(QDir().mkpath(blocked));
  QFile(blocked + QStringLiteral("/ulm5")).open(QIODevice::WriteOnly);
  state_.set(blocked);
  simulator_.clearRequestLog();
  child<QLineEdit>("editPeriodFiltr")->setText(QStringLiteral("9"));
  click("BitBtnWriteNastrPrib");
  EXPECT_EQ(simulator_.instrument().holdingBytes(3, 1)[0], '\x09');
  EXPECT_TRUE(status().stateText().startsWith(
      QStringLiteral("Журнал не записан: не удалось создать папку %1/ulm5 (").arg(blocked)))
      << status().stateText().toStdString();

  state_.set(stateHome());
  click("BitBtnJournal");
  auto* journal = windows_->formMain().findChild<QWidget*>(QStringLiteral("FormJournal"));
  ASSERT_NE(journal, nullptr);
  EXPECT_TRUE(journal->isVisible());
  // The newest line first, its outcome before its requests.
  QStringList newestFirst = logLines();
  std::reverse(newestFirst.begin(), newestFirst.end());
  auto* grid = journal->findChild<QTableWidget*>(QStringLiteral("StringGridJournal"));
  ASSERT_EQ(grid->rowCount(), newestFirst.size());
  for (int row = 0; row < grid->rowCount(); ++row) {
    QStringList shown;
    for (int column = 0; column < grid->columnCount(); ++column)
      shown << grid->item(row, column)->text();
    QStringList line = newestFirst[row].split(u'\t');
    line.swapItemsAt(6, 7);
    EXPECT_EQ(shown, line) << row;
  }
}

}  // namespace
