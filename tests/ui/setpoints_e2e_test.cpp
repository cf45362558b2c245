// The page "Уставки" against the simulator: read, a moved decimal point,
// typed values written and read back, and counts the four positions cannot
// hold. The standard set runs on a tick scaled by 5 (400 ms per exchange
// against a 3 ms turnaround).

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <cstring>

#include "tests/ui/simulated_window.h"

namespace {

class SetpointsWindow : public SimulatedWindow {
 protected:
  SetpointsWindow() : SimulatedWindow(5, sim::SimulatorOptions{}) {}

  QString shown(const char* name) const { return child<QLineEdit>(name)->displayText(); }
  void type(const char* name, const char* text) { child<QLineEdit>(name)->setText(text); }
  QComboBox* list(const char* name) const { return child<QComboBox>(name); }
  // The user picks a decimal-point position.
  void pickPoint(int code) {
    list("ComboBoxPolZap")->setCurrentIndex(code);
    emit list("ComboBoxPolZap")->activated(code);
  }
  float heldSingle(int reg) {
    const std::string bytes = simulator_.instrument().holdingBytes(reg, 2);
    float value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
  }
};

TEST_F(SetpointsWindow, ReadMoveThePointTypeWriteAndReadBack) {
  click("BitBtnReadNatrUst");
  ASSERT_TRUE(display_.messages.empty());
  EXPECT_EQ(list("ComboBoxPolZap")->currentText(), "000.0");
  EXPECT_EQ(shown("MaskEditY0"), "000.0");
  EXPECT_EQ(shown("MaskEditYK"), "100.0");
  EXPECT_EQ(shown("MaskEditNastrPribUst1"), "080.0");
  EXPECT_EQ(shown("MaskEditNastrPribZona1"), "002.0");
  EXPECT_TRUE(child<QCheckBox>("CheckBoxUst1Vkl")->isChecked());
  EXPECT_EQ(list("ComboBoxNastrPribUstType1")->currentText(), "Больше");
  EXPECT_FALSE(child<QCheckBox>("CheckBoxUst4Vkl")->isChecked());
  EXPECT_EQ(list("ComboBoxNastrPribUstReleStart4")->currentText(), "Замкнуто");

  // Only the point moves: the instrument gets the same counts under code 2.
  pickPoint(2);
  EXPECT_EQ(shown("MaskEditYK"), "10.00");
  EXPECT_EQ(shown("MaskEditNastrPribUst1"), "08.00");
  type("MaskEditNastrPribUst2", "-0.05");
  type("MaskEditNastrPribZona3", "01.25");
  child<QCheckBox>("CheckBoxUst4Vkl")->setChecked(true);
  list("ComboBoxNastrPribUstVid4")->setCurrentIndex(1);
  click("BitBtnWriteNatrUst");
  ASSERT_EQ(display_.messages, (std::vector<Message>{confirmation("Настройки записаны")}));
  EXPECT_EQ(simulator_.instrument().holdingBytes(2, 1).at(1), 2);
  EXPECT_EQ(heldSingle(6), 1000.0f);  // YK
  EXPECT_EQ(heldSingle(13), 800.0f);  // setpoint 1
  EXPECT_EQ(heldSingle(18), -5.0f);   // setpoint 2
  EXPECT_EQ(heldSingle(25), 125.0f);  // zone 3
  EXPECT_EQ(simulator_.instrument().holdingBytes(32, 1), std::string("\x16\x00", 2))
      << "setpoint 4: enabled, rate, relay starting closed";

  for (const char* name : {"MaskEditYK", "MaskEditNastrPribUst2", "MaskEditNastrPribZona3"})
    type(name, "");
  pickPoint(0);
  click("BitBtnReadNatrUst");
  EXPECT_EQ(display_.messages.size(), 1u);
  EXPECT_EQ(list("ComboBoxPolZap")->currentText(), "00.00");
  EXPECT_EQ(shown("MaskEditYK"), "10.00");
  EXPECT_EQ(shown("MaskEditNastrPribUst2"), "-0.05");
  EXPECT_EQ(shown("MaskEditNastrPribZona3"), "01.25");
  EXPECT_EQ(list("ComboBoxNastrPribUstVid4")->currentText(), "Скорость");
}

// Values typed with either separator go out as the counts they mean, whatever the locale's.
TEST_F(SetpointsWindow, TypedSeparatorsWriteTheCountsMeant) {
  click("BitBtnReadNatrUst");
  ASSERT_EQ(list("ComboBoxPolZap")->currentText(), "000.0");
  const std::pair<const char*, const char*> typed[] = {
      {"MaskEditNastrPribUst1", "12,5"},
      {"MaskEditNastrPribUst2", "12.5"},
      {"MaskEditNastrPribZona1", "-1,5"},
      {"MaskEditYK", "1,"},
  };
  for (const auto& [name, keys] : typed) {
    QTest::keyClick(child<QLineEdit>(name), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(child<QLineEdit>(name), QString::fromLatin1(keys));
  }
  EXPECT_EQ(shown("MaskEditNastrPribUst1"), "012.5");
  EXPECT_EQ(shown("MaskEditNastrPribUst2"), "012.5");
  EXPECT_EQ(shown("MaskEditNastrPribZona1"), "-01.5");
  EXPECT_EQ(shown("MaskEditYK"), "001._");
  click("BitBtnWriteNatrUst");
  ASSERT_EQ(display_.messages, (std::vector<Message>{confirmation("Настройки записаны")}));
  EXPECT_EQ(heldSingle(13), 125.0f);  // setpoint 1
  EXPECT_EQ(heldSingle(18), 125.0f);  // setpoint 2
  EXPECT_EQ(heldSingle(15), -15.0f);  // zone 1
  EXPECT_EQ(heldSingle(6), 10.0f);    // YK

  pickPoint(3);
  QTest::keyClick(child<QLineEdit>("MaskEditNastrPribUst3"), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(child<QLineEdit>("MaskEditNastrPribUst3"), QStringLiteral(",25"));
  EXPECT_EQ(shown("MaskEditNastrPribUst3"), "0.25_");
  click("BitBtnWriteNatrUst");
  EXPECT_EQ(display_.messages.back(), confirmation("Настройки записаны"));
  EXPECT_EQ(heldSingle(23), 250.0f);
  EXPECT_EQ(heldSingle(13), 125.0f) << "moving the point keeps the counts";
}

TEST_F(SetpointsWindow, CountsBeyondFourPositionsShowInFullAndGoBackUnchanged) {
  std::string record = simulator_.instrument().holdingBytes(23, 5);
  const float wide = 12345;
  std::memcpy(record.data(), &wide, sizeof wide);
  simulator_.instrument().setHoldingBytes(23, record);

  click("BitBtnReadNatrUst");
  EXPECT_EQ(shown("MaskEditNastrPribUst3"), "1234.5");
  click("BitBtnWriteNatrUst");
  EXPECT_EQ(display_.messages.back(), confirmation("Настройки записаны"));
  EXPECT_EQ(heldSingle(23), 12345.0f);

  // A code with no list item: shown unscaled, and no write under a guessed scale.
  simulator_.instrument().setHoldingBytes(2, std::string("\x00\x07", 2));
  const uint64_t served = simulator_.requestsServed();
  click("BitBtnReadNatrUst");
  EXPECT_EQ(list("ComboBoxPolZap")->currentIndex(), -1);
  EXPECT_EQ(shown("MaskEditNastrPribUst1"), "0800");
  click("BitBtnWriteNatrUst");
  EXPECT_EQ(display_.messages.back(), error("Неверное положение запятой"));
  EXPECT_EQ(simulator_.requestsServed(), served + 3) << "the three reads, no write";
}

}  // namespace
