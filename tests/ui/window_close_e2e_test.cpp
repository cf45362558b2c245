// Closing the main window while an operation waits on the simulator: the
// application's own event loop runs as in main(), and the test closes the
// window from inside the operation's exchange, as a user's click on the
// window's close box arrives. A read, the poll or the speed search ends with
// the exchange under way, nothing more is sent and the port is closed; a
// write sends its remaining requests first, so the instrument is never left
// half-written. The loop ends by itself either way.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

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

TEST_F(ClosedWindow, DuringEachWriteItsRemainingRequestsStillGoOut) {
  sim::Instrument& instrument = simulator_.instrument();
  const auto type = [&](const char* name, const char* text) {
    child<QLineEdit>(name)->setText(QString::fromUtf8(text));
  };
  const auto selectPoint = [&](int point) {
    child<QComboBox>("ComboBoxCalibrPoint")->setCurrentIndex(point);
  };
  const std::string setpoints34 = instrument.holdingBytes(23, 10);
  struct Case {
    const char* write;
    std::vector<uint16_t> starts;    // the first register of each request of the write
    std::function<void()> prepare;   // reads and types what the write sends
    std::function<void()> expectIn;  // the instrument holds the whole write
  } cases[] = {
      {"BitBtnWriteNastrPrib",
       {0, 3, 12},
       [&] {
         click("buttonReadNastrPrib");
         type("editPeriodFiltr", "5");
         type("editPeriodArh", "20");
         child<QCheckBox>("CheckBoxFlagCanIout")->setChecked(false);
       },
       [&] {
         EXPECT_EQ(instrument.holdingBytes(3, 1), std::string("\x05\x14", 2));
         EXPECT_EQ(instrument.holdingBytes(12, 1).at(0) & 0x08, 0);
       }},
      {"BitBtnWriteNatrUst",
       {2, 4, 13, 23},
       [&] {
         click("BitBtnReadNatrUst");
         child<QCheckBox>("CheckBoxUst4Vkl")
             ->setChecked(!child<QCheckBox>("CheckBoxUst4Vkl")->isChecked());
       },
       [&] { EXPECT_NE(instrument.holdingBytes(23, 10), setpoints34) << "setpoint 4 written"; }},
      {"BitBtnWriteKoeff",
       {126, 136, 146, 156, 166, 176},
       [&] {
         click("BitBtnReadKoeff");
         type("EditKoeffR5", "7.5");
       },
       [&] { EXPECT_EQ(instrument.holdingBytes(184, 2), std::string("\x00\x00\xF0\x40", 4)); }},
      {"BitBtnSetCurrent",
       {12, 12, 9000},
       [&] { selectPoint(0); },
       [&] { EXPECT_EQ(instrument.outputCurrentCode(), 1464); }},
      {"btnWriteDataTime",
       {4000},
       [&] {
         windows_->formMain().TimerTimerTimer();  // the PC clock shown, as after its first tick
         click("btnCopyTime");
       },
       [] {}},
      {"BitBtnCalibPoint",
       {9000},
       [&] { selectPoint(6); },
       [&] { EXPECT_EQ(instrument.lastCalibrationPoint(), 6); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.write);
    if (!windows_) {
      windows_ = std::make_unique<ApplicationWindows>(iniPath(), display_, &tick_);
      windows_->formMain().show();
    }
    c.prepare();
    display_.messages.clear();
    simulator_.clearRequestLog();
    const uint64_t before = simulator_.requestsServed();
    ASSERT_TRUE(runUntilTheProgramEnds([&] { click(c.write); },
                                       [&] { return simulator_.requestsServed() == before + 1; }));
    EXPECT_TRUE(busyAtClose_) << "closed while the first request's exchange waited";
    std::vector<uint16_t> starts;
    for (const sim::LoggedRequest& request : simulator_.requestLog()) {
      EXPECT_TRUE(request.answered);
      starts.push_back(request.start);
    }
    EXPECT_EQ(starts, c.starts) << "every request of the write went out";
    EXPECT_FALSE(portOpen());
    EXPECT_TRUE(display_.messages.empty()) << "no box after the window has gone";
    c.expectIn();
    windows_.reset();
  }
}

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
