// The page "Калибровка" against the simulator: the coefficients read, changed,
// written and read back, a point calibrated and the output current set.
//
// Timing: the coefficients and the output current use the standard set
// (2500/2000/500 ms), the point calibration the calibration set
// (4500/4000/1000 ms), both on a tick scaled by 5: at least 400 ms of real time
// for a reply that the simulator sends after 3 ms.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <cstring>

#include "tests/ui/simulated_window.h"

namespace {

class CalibrationWindow : public SimulatedWindow {
 protected:
  CalibrationWindow() : SimulatedWindow(5, sim::SimulatorOptions{}) {}

  QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
  QString text(const char* name) const { return edit(name)->text(); }
  // A number as the page shows it, with the locale's separator.
  static QString local(QString text) {
    return text.replace(u'.', QLocale::system().decimalPoint());
  }
  void selectPoint(int code) { child<QComboBox>("ComboBoxCalibrPoint")->setCurrentIndex(code); }
  float heldSingle(int reg) {
    const std::string bytes = simulator_.instrument().holdingBytes(reg, 2);
    float value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
  }
};

TEST_F(CalibrationWindow, ReadChangeWriteAndReadBack) {
  click("BitBtnReadKoeff");
  ASSERT_EQ(display_.messages,
            (std::vector<Message>{confirmation("Коэффициенты калибровки считаны")}));
  EXPECT_EQ(text("EditKoeffIout1"), "-1000");
  EXPECT_EQ(text("EditKoeffIout5"), "5860");
  EXPECT_EQ(text("EditKoeffIIn1"), "812");
  EXPECT_EQ(text("EditKoeffXC"), "1");
  EXPECT_EQ(text("EditKoeff100mV2"), local("1.00100004673004"));
  EXPECT_EQ(text("EditKoeff1V3"), local("0.998000025749207"));
  EXPECT_EQ(text("EditKoeffR1"), local("0.100000001490116"));
  EXPECT_TRUE(child<QAbstractButton>("BitBtnReadKoeff")->isEnabled());

  const std::string notWritten = simulator_.instrument().holdingBytes(131, 5) +
                                 simulator_.instrument().holdingBytes(138, 8) +
                                 simulator_.instrument().holdingBytes(151, 5);
  edit("EditKoeffIout1")->setText("-1234");
  edit("EditKoeffIIn5")->setText(" -32768");
  edit("EditKoeff100mV1")->setText("1,5");
  edit("EditKoeff1V5")->setText(" 2.5E-3 ");
  edit("EditKoeffR3")->setText("-0,1");
  edit("EditKoeffXC")->setText("1.25");
  click("BitBtnWriteKoeff");
  ASSERT_EQ(display_.messages.back(), confirmation("Коэффициенты записаны"));
  EXPECT_TRUE(child<QAbstractButton>("BitBtnWriteKoeff")->isEnabled());
  EXPECT_EQ(simulator_.instrument().holdingBytes(126, 1), std::string("\x2E\xFB", 2));
  EXPECT_EQ(simulator_.instrument().holdingBytes(150, 1), std::string("\x00\x80", 2));
  EXPECT_EQ(heldSingle(136), 1.25f);
  EXPECT_EQ(heldSingle(156), 1.5f);
  EXPECT_EQ(heldSingle(174), 2.5e-3f);
  EXPECT_EQ(heldSingle(180), -0.1f);
  EXPECT_EQ(heldSingle(158), 1.001f) << "unchanged fields go back as they came";
  EXPECT_EQ(simulator_.instrument().holdingBytes(131, 5) +
                simulator_.instrument().holdingBytes(138, 8) +
                simulator_.instrument().holdingBytes(151, 5),
            notWritten);

  for (const char* name : {"EditKoeffIout1", "EditKoeffIIn5", "EditKoeff100mV1", "EditKoeff1V5",
                           "EditKoeffR3", "EditKoeffXC"}) {
    edit(name)->clear();
  }
  click("BitBtnReadKoeff");
  EXPECT_EQ(display_.messages.size(), 3u);
  EXPECT_EQ(text("EditKoeffIout1"), "-1234");
  EXPECT_EQ(text("EditKoeffIIn5"), "-32768");
  EXPECT_EQ(text("EditKoeff100mV1"), local("1.5"));
  EXPECT_EQ(text("EditKoeff1V5"), local("0.00249999994412065"));
  EXPECT_EQ(text("EditKoeffR3"), local("-0.100000001490116"));
  EXPECT_EQ(text("EditKoeffXC"), local("1.25"));
}

TEST_F(CalibrationWindow, RefusedInputAndTheButtonsWithoutActionSendNothing) {
  // Nothing read yet: the fields are empty.
  click("BitBtnWriteKoeff");
  selectPoint(1);
  edit("EditZnacKalibr")->setText("9001");
  click("BitBtnCalibPoint");
  selectPoint(7);
  click("BitBtnSetCurrent");
  click("BitBtn2");
  click("BitBtn3");
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{error("Ошибка в коэффициентах выходного тока"),
                                  error("Значение должно быть от 7000мкА до 9000мкА"),
                                  error("Ток устанавливается только для точек A00 - A04")}));
  EXPECT_EQ(simulator_.requestsServed(), 0u);
  EXPECT_FALSE(simulator_.instrument().lastCalibrationPoint());
}

TEST_F(CalibrationWindow, CalibrateAPoint) {
  selectPoint(0);
  edit("EditZnacKalibr")->setText("4012");
  click("BitBtnCalibPoint");
  ASSERT_EQ(display_.messages, (std::vector<Message>{confirmation("Калибровка точки завершена")}));
  EXPECT_EQ(simulator_.instrument().lastCalibrationPoint(), 0);
  EXPECT_EQ(simulator_.instrument().lastCalibrationValue(), 4012);

  selectPoint(5);
  edit("EditZnacKalibr")->setText("23,4");
  click("BitBtnCalibPoint");
  EXPECT_EQ(simulator_.instrument().lastCalibrationPoint(), 5);
  EXPECT_EQ(simulator_.instrument().lastCalibrationValue(), 234);

  selectPoint(21);
  click("BitBtnCalibPoint");
  EXPECT_EQ(simulator_.instrument().lastCalibrationPoint(), 21);
  EXPECT_EQ(simulator_.instrument().lastCalibrationValue(), 0);
  EXPECT_EQ(display_.messages.size(), 3u);
  EXPECT_EQ(display_.messages.back(), confirmation("Калибровка точки завершена"));
}

TEST_F(CalibrationWindow, SetTheOutputCurrent) {
  const std::string switches = simulator_.instrument().holdingBytes(12, 1);
  ASSERT_TRUE(switches[0] & 0x08) << "the simulator starts with the output current on";
  click("buttonReadNastrPrib");
  auto* outputCurrent = child<QCheckBox>("CheckBoxFlagCanIout");
  ASSERT_TRUE(outputCurrent->isChecked());
  selectPoint(3);
  click("BitBtnSetCurrent");
  ASSERT_EQ(display_.messages,
            (std::vector<Message>{confirmation(
                "Выходной ток установлен\nФункция выходного тока выключена, пока её снова не "
                "включат в общих настройках")}));
  EXPECT_FALSE(outputCurrent->isChecked()) << "the general settings show what the instrument holds";
  EXPECT_EQ(simulator_.instrument().holdingBytes(12, 1),
            (std::string{static_cast<char>(switches[0] & ~0x08), switches[1]}));
  EXPECT_EQ(simulator_.instrument().outputCurrentCode(), 5860);
}

}  // namespace
