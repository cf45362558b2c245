// "Найти" pressed in the main window, through the real serial port component,
// against the simulator on a pseudo-terminal.
//
// Timing: the standard set (2500/2000/500 ms) runs on a tick scaled by 5, so
// a silent attempt costs 400 ms of real time while the simulator answers 3 ms
// after the request, leaving a wide margin on a loaded machine.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <vector>

#include "tests/ui/simulated_window.h"

namespace {

constexpr uint32_t kTimeScale = 5;

class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

sim::SimulatorOptions instrumentAt9600() {
  sim::SimulatorOptions o;
  o.interfaceBaudIndex = 2;
  return o;
}

class DiscoverySmokeTest : public SimulatedWindow {
 protected:
  DiscoverySmokeTest() : SimulatedWindow(kTimeScale, instrumentAt9600(), 6) {
    simulator_.instrument().setManufactureDate(5, 3, 9);
    simulator_.instrument().setSerialNumber(123456);
    simulator_.instrument().setVersion(12);
  }
};

TEST_F(DiscoverySmokeTest, SpeedSearchStepsThroughTheListAndFindsTheInstrument) {
  auto* speeds = child<QComboBox>("ComboBoxBaudSys");
  std::vector<int> selected;
  QObject::connect(speeds, &QComboBox::currentIndexChanged, [&](int i) { selected.push_back(i); });
  PaintCounter painter;
  speeds->installEventFilter(&painter);
  child<QCheckBox>("CheckBoxAutoFind")->setChecked(true);

  child<QPushButton>("BitBtnFindPrib")->click();

  EXPECT_EQ(selected, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(speeds->currentText(), "9600");
  // Repainted while the following exchanges pumped events.
  EXPECT_GE(painter.paints, 2);
  EXPECT_EQ(display_.messages,
            (std::vector<CapturingDisplay::Message>{
                {CapturingDisplay::Message::kConfirmation, "Обнаружен прибор"}}));
  EXPECT_EQ(child<QLabel>("statictextPribCode")->text(), "ULM5");
  EXPECT_EQ(child<QLabel>("statictextPribVer")->text(), "1.2");
  EXPECT_EQ(child<QLabel>("statictextDatePrib")->text(), "05.03.09");
  EXPECT_EQ(child<QLabel>("statictextPribSerial")->text(), "123456");
  EXPECT_TRUE(child<QPushButton>("BitBtnFindPrib")->isEnabled());
  // Every exchange shows its dumps on the debug page: the last request read
  // six registers from 120 (":000300780006..." in hex).
  EXPECT_TRUE(child<QLineEdit>("editQuery")->text().startsWith("3A 30 30 30 33 30 30 37 38"));
  EXPECT_FALSE(child<QLineEdit>("editAnswer")->text().isEmpty());
}

TEST_F(DiscoverySmokeTest, MissingDeviceIsReportedAsAPortThatCannotOpen) {
  child<QComboBox>("ComboBoxPort")->setCurrentIndex(1);
  EXPECT_EQ(child<QComboBox>("ComboBoxPort")->toolTip(), missingDevicePath());
  child<QPushButton>("BitBtnFindPrib")->click();
  EXPECT_EQ(display_.messages, (std::vector<CapturingDisplay::Message>{
                                   {CapturingDisplay::Message::kError, "Не могу открыть порт"}}));
  EXPECT_EQ(simulator_.requestsServed(), 0u);
  EXPECT_TRUE(child<QPushButton>("BitBtnFindPrib")->isEnabled());
}

TEST_F(DiscoverySmokeTest, SingleReadAtTheWrongSpeedReportsNoConnection) {
  child<QPushButton>("BitBtnFindPrib")->click();  // 115200 selected, instrument at 9600
  EXPECT_EQ(display_.messages, (std::vector<CapturingDisplay::Message>{
                                   {CapturingDisplay::Message::kError, "Нет связи с прибором"}}));
  EXPECT_EQ(child<QLabel>("statictextPribCode")->text(), "");
}

}  // namespace
