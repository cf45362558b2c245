// The line goes away while the measurement polls it (an adapter pulled out)
// and comes back under the same name: the status bar says the port went
// away and names it, the poll goes on trying at every tick without a message
// box, and once the device is back the poll and the next operation work
// without a restart.

#include <unistd.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <string>

#include "tests/ui/simulated_window.h"
#include "ui/link_status_bar.h"

namespace {

constexpr int kWaitMs = 10000;

sim::SimulatorOptions linkedInstrument() {
  sim::SimulatorOptions options;
  options.linkPath = ::testing::TempDir() + "ulm5_port_gone_" + std::to_string(::getpid());
  return options;
}

class PortGone : public SimulatedWindow {
 protected:
  PortGone() : SimulatedWindow(1, linkedInstrument()) {
    windows_->formMain().findChild<QTimer*>("TimerIzmer")->setInterval(300);
  }

  QString state() const { return windows_->formMain().linkStatus().stateText(); }
  QString label(const char* name) const { return child<QLabel>(name)->text(); }
};

TEST_F(PortGone, TheStatusBarNamesItThePollTriesOnAndAllWorksWhenItIsBack) {
  const QString path = QString::fromStdString(simulator_.devicePath());
  click("BitBtnIzmerStart");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !label("StaticTextIzmerFiz").isEmpty(); }, kWaitMs));
  EXPECT_EQ(state(), "Идёт: измерение");

  simulator_.setHangupAfter(0, 2000);
  ASSERT_TRUE(QTest::qWaitFor([&] { return state() == "Порт пропал: " + path; }, kWaitMs))
      << state().toStdString();
  EXPECT_EQ(label("StaticTextIzmerDateTime"), "Прибор не отвечает");
  // Every tick tries again while it is away, and says the same.
  const uint64_t served = simulator_.requestsServed();
  QTest::qWait(900);
  EXPECT_EQ(state(), "Порт пропал: " + path);
  EXPECT_EQ(simulator_.requestsServed(), served);

  ASSERT_TRUE(QTest::qWaitFor([&] { return state() == "Идёт: измерение"; }, kWaitMs))
      << state().toStdString();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !label("StaticTextIzmerFiz").isEmpty(); }, kWaitMs));
  EXPECT_TRUE(display_.messages.empty()) << "no message box per tick";

  click("BitBtnIzmerStop");
  click("buttonReadNastrPrib");
  EXPECT_TRUE(display_.messages.empty());
  EXPECT_FALSE(child<QLineEdit>("EditPribAdr")->text().isEmpty());
  EXPECT_EQ(state(), "");
}

}  // namespace
