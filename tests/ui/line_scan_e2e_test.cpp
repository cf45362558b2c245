// Several instruments on one line: the scan of "Сканировать линию" lists
// them as they answer, a double click picks one out, and every operation
// then reaches that one only. Against the in-process simulator.
//
// Timing: the tick runs three times as fast, so a silent address costs
// about 35 ms of real time (the scan's 100 ms and the wire time, scaled)
// while a unit answers 3 ms after the request.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/ui/simulated_window.h"
#include "ui/tform_scan.h"

namespace {

constexpr uint32_t kTimeScale = 3;
constexpr uint8_t kPicked = 9;

sim::SimulatorOptions threeUnits() {
  sim::SimulatorOptions options;
  options.networkAddress = 1;
  options.moreAddresses = {kPicked, 247};
  return options;
}

class LineScanE2e : public SimulatedWindow {
 protected:
  LineScanE2e() : SimulatedWindow(kTimeScale, threeUnits()) {
    for (size_t unit = 0; unit < simulator_.instrumentCount(); ++unit) {
      simulator_.instrument(unit).setVersion(static_cast<int16_t>(21 + unit));
      // Filter period (general settings byte 6): tells the units apart on the page.
      simulator_.instrument(unit).setHoldingBytes(3, std::string(1, static_cast<char>(4 + unit)));
    }
  }

  TformScan* scanWindow() const {
    return windows_->formMain().findChild<TformScan*>(QStringLiteral("TformScan"));
  }
  QTableWidget* grid() const { return scanWindow()->findChild<QTableWidget*>("StringGridScan"); }
  QString scanState() const { return scanWindow()->findChild<QLabel*>("StaticTextScan")->text(); }

  std::vector<std::vector<QString>> rows() const {
    std::vector<std::vector<QString>> result;
    for (int row = 0; row < grid()->rowCount(); ++row) {
      std::vector<QString> cells;
      for (int column = 0; column < grid()->columnCount(); ++column)
        cells.push_back(grid()->item(row, column)->text());
      result.push_back(cells);
    }
    return result;
  }

  // The addresses of the requests the line saw since the log was cleared.
  std::set<int> addressesAsked() const {
    std::set<int> asked;
    for (const sim::LoggedRequest& request : simulator_.requestLog()) asked.insert(request.address);
    return asked;
  }

  // Runs `then` once the scan has listed `units` units, while the exchange
  // of the next address waits for its reply. The scan window exists once
  // the scan's first exchange pumps events.
  void onceListed(int units, std::function<void()> then) {
    QTimer::singleShot(0, [this, units, then = std::move(then)] {
      listed_ = QObject::connect(grid()->model(), &QAbstractItemModel::rowsInserted, grid(),
                                 [this, units, then] {
                                   if (grid()->rowCount() < units) return;
                                   QObject::disconnect(listed_);
                                   QTimer::singleShot(0, then);
                                 });
    });
  }

  QMetaObject::Connection listed_;
};

TEST_F(LineScanE2e, ListsEveryUnitAsItAnswersAndThePickedAddressReachesOnlyThatUnit) {
  // The poll at address 0 is held back while the scan holds the line; the
  // panel's address field, even empty, is no matter to the scan.
  click("BitBtnIzmerStart");
  child<QLineEdit>("EditAdres")->clear();
  simulator_.clearRequestLog();
  // Each unit is listed while the scan goes on: the progress then stands at its address.
  std::vector<int> progressAtEachRow;
  QTimer::singleShot(0, [&] {
    QObject::connect(grid()->model(), &QAbstractItemModel::rowsInserted, grid(), [&] {
      progressAtEachRow.push_back(scanWindow()->findChild<QProgressBar*>()->value());
    });
  });
  click("BitBtnScanLine");

  ASSERT_NE(scanWindow(), nullptr);
  EXPECT_TRUE(scanWindow()->isVisible());
  EXPECT_EQ(rows(), (std::vector<std::vector<QString>>{{"1", "ULM5", "240315", "2.1"},
                                                       {"9", "ULM5", "240316", "2.2"},
                                                       {"247", "ULM5", "240317", "2.3"}}));
  EXPECT_EQ(progressAtEachRow, (std::vector<int>{1, 9, 247}));
  EXPECT_EQ(scanState(), "Готово, найдено приборов: 3");
  EXPECT_TRUE(display_.messages.empty());
  EXPECT_TRUE(child<QPushButton>("BitBtnScanLine")->isEnabled());
  std::set<int> everyUnitAddress;
  for (int address = 1; address <= 247; ++address) everyUnitAddress.insert(address);
  EXPECT_EQ(addressesAsked(), everyUnitAddress) << "0, answered by any unit, is not asked";
  // The poll then resumes as it was.
  simulator_.clearRequestLog();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !simulator_.requestLog().empty(); }, 5000));
  EXPECT_EQ(simulator_.requestLog().front().address, 0);
  EXPECT_EQ(simulator_.requestLog().front().function, 0x04);
  click("BitBtnIzmerStop");

  const QRect picked = grid()->visualItemRect(grid()->item(1, 2));
  // As a mouse does it: a click, then the second press as a double click.
  QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, picked.center());
  QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, picked.center());
  QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, picked.center());
  EXPECT_EQ(child<QLineEdit>("EditAdres")->text(), "9");

  // With the fast exchange, as most benches will run.
  child<QCheckBox>("CheckBoxFastExchange")->setChecked(true);
  simulator_.clearRequestLog();
  click("BitBtnFindPrib");
  click("buttonReadNastrPrib");
  EXPECT_TRUE(display_.messages.empty());
  EXPECT_EQ(child<QLabel>("statictextPribSerial")->text(), "240316");
  EXPECT_EQ(child<QLineEdit>("editPeriodFiltr")->text(), "5");
  EXPECT_EQ(addressesAsked(), std::set<int>{kPicked});
  EXPECT_EQ(simulator_.requestLog().size(), 2u);
}

// The request under way when the scan is told to stop finishes; no further one goes out.
TEST_F(LineScanE2e, StopsAfterTheRequestUnderWay) {
  const std::pair<const char*, std::function<void()>> stops[] = {
      {"Остановить", [this] { scanWindow()->findChild<QPushButton*>("BitBtnStopScan")->click(); }},
      {"the scan window closed", [this] { scanWindow()->close(); }},
      {"the main window closed", [this] { windows_->formMain().close(); }},
  };
  for (const auto& [how, stop] : stops) {
    SCOPED_TRACE(how);
    simulator_.clearRequestLog();
    onceListed(2, stop);
    click("BitBtnScanLine");
    EXPECT_EQ(*addressesAsked().rbegin(), kPicked + 1);
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_EQ(scanState(), "Остановлено на адресе 10, найдено приборов: 2");
    EXPECT_FALSE(scanWindow()->findChild<QPushButton*>("BitBtnStopScan")->isEnabled());
  }
  EXPECT_FALSE(scanWindow()->isVisible()) << "closed with the main window";
}

// A typed address is limited to 0..247 as it is typed; an empty field
// refuses the next operation, and nothing is sent.
TEST_F(LineScanE2e, TypedAddressReachesItsUnitOrIsRefused) {
  struct Case {
    const char* typed;
    const char* shown;
    std::vector<CapturingDisplay::Message> messages;
    std::set<int> asked;
  };
  const Case cases[] = {
      {"247", "247", {}, {247}},
      {"2479", "247", {}, {247}},
      {"300", "300", {error("Адрес прибора должен быть от 0 до 247")}, {}},
      {"30", "30", {error("Нет связи с прибором")}, {30}},
      {"x9", "9", {}, {9}},
      {"", "", {error("Адрес прибора должен быть от 0 до 247")}, {}},
  };
  auto* field = child<QLineEdit>("EditAdres");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    field->clear();
    QTest::keyClicks(field, QString::fromLatin1(c.typed));
    EXPECT_EQ(field->text(), c.shown);
    display_.messages.clear();
    simulator_.clearRequestLog();
    click("BitBtnFindPrib");
    EXPECT_EQ(display_.messages, c.messages);
    EXPECT_EQ(addressesAsked(), c.asked);
    EXPECT_TRUE(child<QPushButton>("BitBtnFindPrib")->isEnabled());
  }
}

}  // namespace
