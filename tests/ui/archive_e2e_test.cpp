// The page "Архивы" against the simulator: a read of 20 records, a cancel, a
// silent instrument and the measurement poll running meanwhile. The archive
// set (3000/2500/500 ms) runs on a tick scaled by 5: 500 ms of real time per
// record against a 3 ms turnaround.

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "tests/ui/simulated_window.h"

namespace {

constexpr int kWaitMs = 30000;

class ArchiveWindow : public SimulatedWindow {
 protected:
  ArchiveWindow() : SimulatedWindow(5, sim::SimulatorOptions{}) {}

  QTableWidget* grid() const { return child<QTableWidget>("StringGridArh"); }
  QString cell(int row, int column) const {
    const QTableWidgetItem* item = grid()->item(row, column);
    return item ? item->text() : QString();
  }
  // The record's time as "yy.mm.dd hh:mm:ss", which sorts like the time itself.
  QString sortableTime(int row) const {
    const QString t = cell(row, 1);
    return t.mid(6, 2) + t.mid(3, 2) + t.mid(0, 2) + t.mid(8);
  }
};

TEST_F(ArchiveWindow, TwentyRecordsNewestFirstWhileThePollGoesOn) {
  auto* timer = windows_->formMain().findChild<QTimer*>("TimerIzmer");
  timer->setInterval(300);  // several ticks fall into the read
  int ticks = 0;
  QObject::connect(timer, &QTimer::timeout, [&] { ++ticks; });
  click("BitBtnIzmerStart");

  click("BitBtnReadArh");
  EXPECT_EQ(display_.messages, (std::vector<Message>{confirmation("Архив считан")}));
  ASSERT_EQ(grid()->rowCount(), 20) << "20 rows below the header";
  for (int row = 0; row < 20; ++row) {
    EXPECT_EQ(cell(row, 0), QString::number(row + 1));
    EXPECT_TRUE(cell(row, 1).endsWith("  "));
    if (row > 0) {
      EXPECT_LT(sortableTime(row), sortableTime(row - 1)) << "row " << row + 1;
    }
  }
  // The poll's ticks were served during the read and skipped the busy link,
  // so no poll came between an archive request and its reply.
  EXPECT_GT(ticks, 0);
  EXPECT_TRUE(timer->isActive()) << "the read does not stop the poll";
  // Afterwards the poll goes on, with the archive's timing set.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !child<QLabel>("StaticTextIzmerXC")->text().isEmpty(); },
                              kWaitMs));
}

TEST_F(ArchiveWindow, CancelDuringTheFirstRequestKeepsItsRecordAndSendsNoMore) {
  bool pressedWhileBusy = false;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (!windows_->formMain().link()->busy()) return;
    watcher.stop();
    pressedWhileBusy = true;
    click("BitBtnCancelReadArh");
  });
  watcher.start(2);
  click("BitBtnReadArh");
  EXPECT_TRUE(pressedWhileBusy);
  EXPECT_EQ(display_.messages, (std::vector<Message>{confirmation("Архив считан")}));
  EXPECT_EQ(simulator_.requestsServed(), 1u);
  EXPECT_FALSE(cell(0, 1).isEmpty()) << "the newest record is shown";
  EXPECT_TRUE(cell(1, 1).isEmpty());
  EXPECT_EQ(grid()->rowCount(), 20);
  EXPECT_TRUE(child<QAbstractButton>("BitBtnReadArh")->isEnabled());
}

TEST_F(ArchiveWindow, CancelDuringTheFifthRequestFillsRowFiveAndSendsNoMore) {
  // Pressed once the fifth reply has come, while its exchange waits out the response delay.
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (simulator_.requestsServed() == 5) {
      watcher.stop();
      click("BitBtnCancelReadArh");
    }
  });
  watcher.start(2);
  click("BitBtnReadArh");
  EXPECT_EQ(display_.messages, (std::vector<Message>{confirmation("Архив считан")}));
  EXPECT_EQ(simulator_.requestsServed(), 5u);
  EXPECT_FALSE(cell(4, 1).isEmpty());
  EXPECT_TRUE(cell(5, 1).isEmpty());
  EXPECT_EQ(grid()->rowCount(), 20);

  // A silent instrument gets one request, and no row shows the earlier read.
  simulator_.setFault(sim::Fault::kSilent);
  child<QLineEdit>("EditColZap")->setText("3");
  click("BitBtnReadArh");
  EXPECT_EQ(display_.messages.back(), error("Нет связи с прибором"));
  EXPECT_EQ(grid()->rowCount(), 3);
  EXPECT_TRUE(cell(0, 1).isEmpty());
  EXPECT_TRUE(child<QAbstractButton>("BitBtnReadArh")->isEnabled());
}

}  // namespace
