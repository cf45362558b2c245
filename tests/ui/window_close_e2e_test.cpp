// Closing the main window while an operation waits on the simulator: the
// application's own event loop runs as in main(), and the test closes the
// window from inside the operation's exchange, as a user's click on the
// window's close box arrives. The loop must end once the exchange under way
// has ended, with nothing more sent and the port closed.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests/ui/simulated_window.h"

namespace {

constexpr int kWaitMs = 60000;

sim::SimulatorOptions instrumentAt115200() {
  sim::SimulatorOptions options;
  options.interfaceBaudIndex = 6;
  return options;
}

class ClosedWindow : public SimulatedWindow {
 protected:
  // A tick scaled by 5: 500 ms of real time for an archive exchange, 400 ms
  // for a silent attempt of the speed search.
  explicit ClosedWindow(int panelBaudIndex = -1)
      : SimulatedWindow(5, instrumentAt115200(), panelBaudIndex) {}

  // Runs the application's loop as main() does, with `start` as its first
  // event, and closes the window the first time `closeNow` holds (looked at
  // every 2 ms, so within the exchange that made it true). False when the
  // loop did not end by itself.
  bool runUntilTheProgramEnds(const std::function<void()>& start,
                              const std::function<bool()>& closeNow) {
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      if (!closeNow()) return;
      watcher.stop();
      busyAtClose_ = windows_->formMain().link()->busy();
      windows_->formMain().close();
    });
    watcher.start(2);
    QTimer::singleShot(0, start);
    bool timedOut = false;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [&] {
      timedOut = true;
      QCoreApplication::quit();
    });
    limit.start(kWaitMs);
    QApplication::exec();
    return !timedOut;
  }

  bool portOpen() { return windows_->formModBus().CommModBus().IsOpen(); }
  uint64_t requestsSeen() const {
    return simulator_.requestsServed() + simulator_.speedMismatches();
  }
  // A further while, in which a read or search going on would send again.
  static void waitLonger() { QTest::qWait(1500); }

  bool busyAtClose_ = false;
};

TEST_F(ClosedWindow, DuringAnArchiveReadTheRecordUnderWayIsTheLast) {
  auto* grid = child<QTableWidget>("StringGridArh");
  bool readEnded = false;
  ASSERT_TRUE(runUntilTheProgramEnds(
      [&] {
        click("BitBtnReadArh");
        readEnded = true;
      },
      [&] { return simulator_.requestsServed() == 3; }));
  EXPECT_TRUE(busyAtClose_) << "closed while the third exchange waited";
  EXPECT_TRUE(readEnded);
  EXPECT_EQ(simulator_.requestsServed(), 3u);
  EXPECT_FALSE(portOpen());
  ASSERT_NE(grid->item(2, 1), nullptr);
  EXPECT_FALSE(grid->item(2, 1)->text().isEmpty()) << "the record under way is shown";
  EXPECT_TRUE(grid->item(3, 1) == nullptr || grid->item(3, 1)->text().isEmpty());
  EXPECT_TRUE(display_.messages.empty()) << "no box after the window has gone";

  waitLonger();
  EXPECT_EQ(simulator_.requestsServed(), 3u);
}

class ClosedWindowSearching : public ClosedWindow {
 protected:
  ClosedWindowSearching() : ClosedWindow(6) {}
};

TEST_F(ClosedWindowSearching, DuringTheSpeedSearchNoFurtherSpeedIsTried) {
  child<QCheckBox>("CheckBoxAutoFind")->setChecked(true);
  ASSERT_TRUE(runUntilTheProgramEnds([&] { click("BitBtnFindPrib"); },
                                     [&] { return simulator_.speedMismatches() == 2; }));
  EXPECT_TRUE(busyAtClose_) << "closed while the 4800 bit/s attempt waited";
  EXPECT_EQ(requestsSeen(), 2u);
  EXPECT_FALSE(portOpen()) << "the silent attempt left it open";
  EXPECT_EQ(child<QComboBox>("ComboBoxBaudSys")->currentIndex(), 1) << "4800 bit/s";
  EXPECT_TRUE(display_.messages.empty());

  waitLonger();
  EXPECT_EQ(requestsSeen(), 2u);
}

class ClosedWindowPolling : public ClosedWindow {
 protected:
  // The panel's 57600 bit/s is a speed the instrument does not answer: every
  // poll waits out the fast set's limit and leaves the port open.
  ClosedWindowPolling() : ClosedWindow(5) {
    windows_->formMain().findChild<QTimer*>("TimerIzmer")->setInterval(300);
  }
};

TEST_F(ClosedWindowPolling, DuringAPollItsExchangeIsTheLast) {
  ASSERT_TRUE(runUntilTheProgramEnds([&] { click("BitBtnIzmerStart"); },
                                     [&] { return requestsSeen() == 2; }));
  EXPECT_TRUE(busyAtClose_) << "closed while the second poll waited";
  EXPECT_EQ(requestsSeen(), 2u);
  EXPECT_FALSE(portOpen());
  EXPECT_FALSE(windows_->formMain().findChild<QTimer*>("TimerIzmer")->isActive());

  waitLonger();
  EXPECT_EQ(requestsSeen(), 2u);
}

}  // namespace
