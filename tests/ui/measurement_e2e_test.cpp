// The page "Измерения" against the simulator: start, polls, a silent
// instrument, stop. The fast timing set runs on real time; the poll period is
// shortened so that several polls fit in a short test (the period itself is
// not what is tested here).

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests/ui/run_locale.h"
#include "tests/ui/simulated_window.h"
#include "tests/ui/timer_event_hook.h"
#include "ui/link_status_bar.h"

namespace {

constexpr int kTestPollPeriodMs = 300;
constexpr int kWaitMs = 5000;

sim::SimulatorOptions instrumentWithFaults() {
  sim::SimulatorOptions options;
  options.faultWord = 0x0405;
  return options;
}

class MeasurementWindow : public SimulatedWindow {
 protected:
  MeasurementWindow() : SimulatedWindow(1, instrumentWithFaults()) {
    timer()->setInterval(kTestPollPeriodMs);
  }

  QTimer* timer() const { return windows_->formMain().findChild<QTimer*>("TimerIzmer"); }
  QString text(const char* name) const { return child<QLabel>(name)->text(); }
  QColor colour(const char* name) const {
    return child<QLabel>(name)->palette().color(QPalette::Window);
  }
  static QColor red() { return QColor(QStringLiteral("#ff0000")); }
  static QColor silver() { return QColor(QStringLiteral("#c0c0c0")); }
  static QColor buttonFace() { return QApplication::palette().color(QPalette::Button); }
  void freeze(float coldJunction, float physical, float parameter) {
    simulator_.instrument().freezeMeasurement({coldJunction, physical, parameter});
  }
};

TEST_F(MeasurementWindow, PollsShowValuesStatesAndFaultsUntilTheInstrumentFallsSilent) {
  simulator_.instrument().holdOutputs(0x05, 0x06);
  freeze(21.96f, 1234.5678f, 12.0f);
  click("BitBtnIzmerStart");
  EXPECT_FALSE(child<QAbstractButton>("BitBtnIzmerStart")->isEnabled());
  EXPECT_TRUE(child<QAbstractButton>("BitBtnIzmerStop")->isEnabled());
  EXPECT_TRUE(timer()->isActive());

  // QTest's waits report to QTest, not to this test: wait, then judge here.
  const QString fiz = localeText("1234,570", "1234.570");
  (void)QTest::qWaitFor([&] { return text("StaticTextIzmerFiz") == fiz; }, kWaitMs);
  ASSERT_EQ(text("StaticTextIzmerFiz"), fiz);
  EXPECT_EQ(text("StaticTextIzmerXC"), localeText("22,0", "22.0"));
  EXPECT_EQ(text("StaticTextIzmerVal"), localeText("12,000", "12.000"));
  EXPECT_EQ(text("StaticTextErr"), "Код ошибки: 1029");
  EXPECT_EQ(colour("StaticTextErr5V"), red());
  EXPECT_EQ(colour("StaticTextErrBat"), red());
  EXPECT_EQ(colour("StaticTextErrDat"), red());
  EXPECT_EQ(colour("StaticTextErr3V"), buttonFace());
  EXPECT_EQ(colour("StaticTextSostUst1"), red());
  EXPECT_EQ(colour("StaticTextSostUst2"), silver());
  EXPECT_EQ(colour("StaticTextSostUst3"), red());
  EXPECT_EQ(colour("StaticTextSostUst4"), silver());
  EXPECT_EQ(text("StaticTextSostRele1"), "Разомкнуто");
  EXPECT_EQ(text("StaticTextSostRele2"), "Замкнуто");
  const sim::ClockTime clock = simulator_.instrument().clock();
  EXPECT_TRUE(
      text("StaticTextIzmerDateTime")
          .startsWith(QString::asprintf("%02d.%02d.%02d ", clock.day, clock.month, clock.year)));

  // The next polls show what the instrument measures now.
  freeze(-12.3f, 99.9996f, -1234.5678f);
  simulator_.instrument().setFaultWord(0x8000);
  const QString fizNow = localeText("100,000", "100.000");
  (void)QTest::qWaitFor([&] { return text("StaticTextIzmerFiz") == fizNow; }, kWaitMs);
  ASSERT_EQ(text("StaticTextIzmerFiz"), fizNow);
  EXPECT_EQ(text("StaticTextIzmerXC"), localeText("-12,3", "-12.3"));
  EXPECT_EQ(text("StaticTextIzmerVal"), localeText("-1234,570", "-1234.570"));
  EXPECT_EQ(text("StaticTextErr"), "Код ошибки: -32768");
  EXPECT_EQ(colour("StaticTextErr5V"), buttonFace());
  EXPECT_EQ(colour("StaticTextErrDat"), buttonFace());

  // Silent: the values go, the indicators of the last good poll stay.
  simulator_.instrument().setFaultWord(0x0001);
  ASSERT_TRUE(QTest::qWaitFor([&] { return colour("StaticTextErr5V") == red(); }, kWaitMs));
  simulator_.setFault(sim::Fault::kSilent);
  (void)QTest::qWaitFor([&] { return text("StaticTextIzmerDateTime") == "Прибор не отвечает"; },
                        kWaitMs);
  ASSERT_EQ(text("StaticTextIzmerDateTime"), "Прибор не отвечает");
  EXPECT_EQ(text("StaticTextIzmerFiz"), "");
  EXPECT_EQ(text("StaticTextIzmerVal"), "");
  EXPECT_EQ(text("StaticTextIzmerXC"), "");
  EXPECT_EQ(text("StaticTextErr"), "Код ошибки: 1");
  EXPECT_EQ(colour("StaticTextErr5V"), red());
  EXPECT_EQ(text("StaticTextSostRele2"), "Замкнуто");
  EXPECT_TRUE(timer()->isActive()) << "a failed poll does not end polling";

  click("BitBtnIzmerStop");
  EXPECT_EQ(text("StaticTextIzmerDateTime"), "");
  EXPECT_TRUE(child<QAbstractButton>("BitBtnIzmerStart")->isEnabled());
  EXPECT_FALSE(child<QAbstractButton>("BitBtnIzmerStop")->isEnabled());
  EXPECT_FALSE(timer()->isActive());
  EXPECT_FALSE(windows_->formModBus().CommModBus().IsOpen());
  EXPECT_TRUE(display_.messages.empty());
}

TEST_F(MeasurementWindow, StopWhileAPollWaitsClosesThePortAfterItAndKeepsTheFieldsEmpty) {
  // The stop lands inside the poll's exchange, which then ends without a reply
  // and leaves the port open for someone to close.
  simulator_.setFault(sim::Fault::kSilent);
  bool stopped = false;
  // Seen before the timer's handlers run, so the stop is due while the poll waits.
  TimerEventHook hook([&] {
    if (!stopped) QTimer::singleShot(10, [&] { stopped = true, click("BitBtnIzmerStop"); });
  });
  timer()->installEventFilter(&hook);
  click("BitBtnIzmerStart");
  ASSERT_TRUE(QTest::qWaitFor([&] { return stopped; }, kWaitMs));
  // Give the interrupted exchange time to end and its outcome to be dropped.
  QTest::qWait(500);
  EXPECT_EQ(text("StaticTextIzmerDateTime"), "");
  EXPECT_EQ(text("StaticTextIzmerFiz"), "");
  EXPECT_FALSE(windows_->formModBus().CommModBus().IsOpen());
  EXPECT_FALSE(windows_->formMain().link()->busy());
}

TEST_F(MeasurementWindow, AClickDuringAPollExchangeIsServedOnceAfterIt) {
  // A clock the write takes: the PC's, once its display has been set.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return child<QLabel>("statictextDateNow")->text() != "24.24.24"; }, kWaitMs));
  click("btnCopyTime");
  bool clickedWhileBusy = false;
  bool messageBeforeTheExchangeEnded = false;
  bool clicked = false;
  // Two presses of "Записать в прибор" while the first poll waits for its reply.
  TimerEventHook hook([&] {
    if (clicked) return;
    clicked = true;
    QTimer::singleShot(10, [&] {
      clickedWhileBusy = windows_->formMain().link()->busy();
      click("btnWriteDataTime");
      click("btnWriteDataTime");
      messageBeforeTheExchangeEnded = !display_.messages.empty();
    });
  });
  timer()->installEventFilter(&hook);
  click("BitBtnIzmerStart");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !display_.messages.empty(); }, kWaitMs));
  EXPECT_TRUE(clickedWhileBusy);
  EXPECT_FALSE(messageBeforeTheExchangeEnded) << "not served under the poll's exchange";
  EXPECT_FALSE(timer()->isActive()) << "the write turned the poll off";

  // However long one waits: one write, one confirmation.
  QTest::qWait(500);
  EXPECT_EQ(display_.messages, (std::vector<Message>{confirmation("Дата и время установлены")}));
  EXPECT_EQ(simulator_.requestsServed(), 2u) << "the poll and the write";
}

TEST_F(MeasurementWindow, AnArchiveReadHoldsThePollBackVisiblyAndItResumesByItself) {
  freeze(21.5f, 250.0f, 12.0f);
  click("BitBtnIzmerStart");
  const QString fiz = localeText("250,000", "250.000");
  ASSERT_TRUE(QTest::qWaitFor([&] { return text("StaticTextIzmerFiz") == fiz; }, kWaitMs));
  EXPECT_EQ(windows_->formMain().linkStatus().stateText(), "Идёт: измерение");

  // Seen by the ticks while the archive's one request waits (2.5 s on the real tick).
  QString during;
  bool valuesGreyed = false;
  TimerEventHook hook([&] {
    QTimer::singleShot(0, [&] {
      if (!windows_->formMain().link()->busy() || !during.isEmpty()) return;
      if (!text("StaticTextIzmerDateTime").startsWith("ожидание")) return;
      during = text("StaticTextIzmerDateTime");
      valuesGreyed = !child<QLabel>("StaticTextIzmerFiz")->isEnabled();
    });
  });
  timer()->installEventFilter(&hook);
  child<QLineEdit>("EditColZap")->setText("1");
  const uint64_t served = simulator_.requestsServed();
  click("BitBtnReadArh");
  EXPECT_EQ(simulator_.requestsServed(), served + 1) << "no poll request beside the archive's";
  EXPECT_EQ(during, "ожидание: чтение архива");
  EXPECT_TRUE(valuesGreyed);

  EXPECT_EQ(windows_->formMain().link()->parameters().timing.responseDelay, 50)
      << "the poll goes on with its own timing set";
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return !text("StaticTextIzmerDateTime").startsWith("ожидание"); }, kWaitMs));
  EXPECT_EQ(text("StaticTextIzmerFiz"), fiz);
  EXPECT_TRUE(child<QLabel>("StaticTextIzmerFiz")->isEnabled());
  EXPECT_TRUE(timer()->isActive());
}

TEST_F(MeasurementWindow, OtherOperationsTurnThePollOffAndLeaveTheButtons) {
  click("BitBtnIzmerStart");
  ASSERT_TRUE(timer()->isActive());
  click("BitBtnFindPrib");
  EXPECT_FALSE(timer()->isActive());
  EXPECT_FALSE(child<QAbstractButton>("BitBtnIzmerStart")->isEnabled());
  EXPECT_TRUE(child<QAbstractButton>("BitBtnIzmerStop")->isEnabled());
}

}  // namespace
