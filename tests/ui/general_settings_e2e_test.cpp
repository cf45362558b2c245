// The page "Общие настройки" against the simulator: the general settings and
// the instrument clock, read, changed, written and read back.
//
// Timing: the settings use the standard set (2500/2000/500 ms) on a tick
// scaled by 5, 400 ms of real time per exchange against a 3 ms turnaround.
// The clock read uses the fast set (300/50/50 ms), whose 50 ms response delay
// leaves no room for scaling, so the clock runs on real time.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "tests/ui/simulated_window.h"

namespace {

sim::SimulatorOptions instrumentAt115200() {
  sim::SimulatorOptions options;
  options.interfaceBaudIndex = 6;
  return options;
}

class GeneralSettingsWindow : public SimulatedWindow {
 protected:
  GeneralSettingsWindow() : SimulatedWindow(5, instrumentAt115200()) {}

  QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
  QComboBox* list(const char* name) const { return child<QComboBox>(name); }
  QCheckBox* check(const char* name) const { return child<QCheckBox>(name); }
};

TEST_F(GeneralSettingsWindow, ReadChangeWriteAndReadBack) {
  click("buttonReadNastrPrib");
  ASSERT_TRUE(display_.messages.empty());
  EXPECT_EQ(edit("EditPribAdr")->text(), "1");
  EXPECT_EQ(list("comboboxBaud")->currentText(), "115200");
  EXPECT_EQ(list("comboboxProtocol")->currentText(), "MODBUS-ASCII");
  EXPECT_EQ(list("comboboxTypeGrad")->currentText(), "(4..20)mA");
  EXPECT_EQ(edit("editPeriodFiltr")->text(), "2");
  EXPECT_EQ(edit("editPeriodArh")->text(), "10");
  EXPECT_FALSE(check("CheckBoxFlagCanSqr")->isChecked());
  EXPECT_TRUE(check("CheckBoxFlagCanXC")->isChecked());
  EXPECT_TRUE(check("CheckBoxFlagCanIout")->isChecked());
  EXPECT_TRUE(child<QAbstractButton>("buttonReadNastrPrib")->isEnabled());

  edit("EditPribAdr")->setText("17");
  list("comboboxProtocol")->setCurrentIndex(1);
  list("comboboxTypeGrad")->setCurrentIndex(25);
  edit("editPeriodFiltr")->setText("10");
  edit("editPeriodArh")->setText("99");
  check("CheckBoxFlagCanSqr")->setChecked(true);
  check("CheckBoxFlagCanIout")->setChecked(false);
  click("BitBtnWriteNastrPrib");
  EXPECT_EQ(display_.messages, (std::vector<Message>{confirmation("Настройки записаны")}));
  // The switches byte, then the byte that is always written as 0.
  EXPECT_EQ(simulator_.instrument().holdingBytes(12, 1), std::string("\x03\x00", 2));

  edit("EditPribAdr")->clear();
  list("comboboxTypeGrad")->setCurrentIndex(-1);
  check("CheckBoxFlagCanSqr")->setChecked(false);
  click("buttonReadNastrPrib");
  EXPECT_EQ(display_.messages.size(), 1u);
  EXPECT_EQ(edit("EditPribAdr")->text(), "17");
  EXPECT_EQ(list("comboboxBaud")->currentText(), "115200");
  EXPECT_EQ(list("comboboxProtocol")->currentText(), "MODBUS-RTU");
  EXPECT_EQ(list("comboboxTypeGrad")->currentText(), "(0…1000) Ом");
  EXPECT_EQ(edit("editPeriodFiltr")->text(), "10");
  EXPECT_EQ(edit("editPeriodArh")->text(), "99");
  EXPECT_TRUE(check("CheckBoxFlagCanSqr")->isChecked());
  EXPECT_TRUE(check("CheckBoxFlagCanXC")->isChecked());
  EXPECT_FALSE(check("CheckBoxFlagCanIout")->isChecked());
}

TEST_F(GeneralSettingsWindow, NewInterfaceSpeedTakesEffectAfterTheFirstWrite) {
  click("buttonReadNastrPrib");
  list("comboboxBaud")->setCurrentIndex(2);
  edit("editPeriodFiltr")->setText("7");
  click("BitBtnWriteNastrPrib");
  // The instrument answers the first write, then listens at 9600: the later
  // writes at 115200 go unanswered, and the message says which went in.
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{
                error("Нет связи с прибором\nЗаписано: адрес, скорость, протокол, тип входа\n"
                      "Отправлено, не подтверждено: период фильтрации, период архивирования\n"
                      "Не записано: флажки функций")}));
  EXPECT_EQ(simulator_.instrument().interfaceBaudIndex(), 2);
  EXPECT_EQ(simulator_.instrument().holdingBytes(3, 1).at(0), 2) << "filter period not written";

  child<QComboBox>("ComboBoxBaudSys")->setCurrentIndex(2);
  click("BitBtnWriteNastrPrib");
  EXPECT_EQ(display_.messages.back(), confirmation("Настройки записаны"));
  EXPECT_EQ(simulator_.instrument().holdingBytes(3, 1).at(0), 7);
}

TEST_F(GeneralSettingsWindow, RefusedFieldsSendNothing) {
  // Nothing read yet: the fields are empty and the lists unselected.
  click("BitBtnWriteNastrPrib");
  edit("EditPribAdr")->setText("-1");
  click("BitBtnWriteNastrPrib");
  edit("EditPribAdr")->setText("5");
  click("BitBtnWriteNastrPrib");
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{error("Неверный адрес"), error("Неверный адрес"),
                                  error("Неверная скорость обмена")}));
  EXPECT_EQ(simulator_.requestsServed(), 0u);
  EXPECT_EQ(simulator_.instrument().networkAddress(), 1);
  EXPECT_TRUE(child<QAbstractButton>("BitBtnWriteNastrPrib")->isEnabled());
}

// Three-digit values read from the instrument are shown whole and written back as read.
TEST_F(GeneralSettingsWindow, AddressAndPeriodsOfThreeDigitsGoBackAsRead) {
  const std::string periods("\x0a\x64", 2);  // filter 10, archive 100: the tops of their ranges
  simulator_.instrument().setNetworkAddress(200);
  simulator_.instrument().setHoldingBytes(3, periods);
  click("buttonReadNastrPrib");
  ASSERT_TRUE(display_.messages.empty());
  EXPECT_EQ(edit("EditPribAdr")->text(), "200");
  EXPECT_EQ(edit("editPeriodFiltr")->text(), "10");
  EXPECT_EQ(edit("editPeriodArh")->text(), "100");

  // The instrument is set otherwise meanwhile; the write puts back what was read.
  simulator_.instrument().setNetworkAddress(1);
  simulator_.instrument().setHoldingBytes(3, std::string("\x02\x0a", 2));
  click("BitBtnWriteNastrPrib");
  EXPECT_EQ(display_.messages, (std::vector<Message>{confirmation("Настройки записаны")}));
  EXPECT_EQ(simulator_.instrument().networkAddress(), 200);
  EXPECT_EQ(simulator_.instrument().holdingBytes(3, 1), periods);

  for (const char* name : {"EditPribAdr", "editPeriodFiltr", "editPeriodArh"}) edit(name)->clear();
  click("buttonReadNastrPrib");
  EXPECT_EQ(display_.messages.size(), 1u);
  EXPECT_EQ(edit("EditPribAdr")->text(), "200");
  EXPECT_EQ(edit("editPeriodFiltr")->text(), "10");
  EXPECT_EQ(edit("editPeriodArh")->text(), "100");
}

// A period byte beyond its range shows whole and is refused whole: cut to two digits, an
// archive period of 255 would have gone out as 25.
TEST_F(GeneralSettingsWindow, PeriodsBeyondTheirRangesAreRefusedNotCut) {
  simulator_.instrument().setNetworkAddress(255);
  simulator_.instrument().setHoldingBytes(3, std::string("\x0a\xff", 2));
  click("buttonReadNastrPrib");
  ASSERT_TRUE(display_.messages.empty());
  EXPECT_EQ(edit("EditPribAdr")->text(), "255");
  EXPECT_EQ(edit("editPeriodArh")->text(), "255");
  const uint64_t served = simulator_.requestsServed();
  click("BitBtnWriteNastrPrib");
  EXPECT_EQ(display_.messages, (std::vector<Message>{error("Неверный период архивирования")}));

  simulator_.instrument().setHoldingBytes(3, std::string("\xff\x00", 2));
  click("buttonReadNastrPrib");
  EXPECT_EQ(edit("editPeriodFiltr")->text(), "255");
  click("BitBtnWriteNastrPrib");
  EXPECT_EQ(display_.messages.back(), error("Неверный период фильтрации"));
  EXPECT_EQ(simulator_.requestsServed(), served + 1) << "the second read, no write";
}

class ClockWindow : public SimulatedWindow {
 protected:
  ClockWindow() : SimulatedWindow(1, instrumentAt115200()) {}

  QLineEdit* date() const { return child<QLineEdit>("MaskEdit_DataProc"); }
  QLineEdit* time() const { return child<QLineEdit>("MaskEdit_TimeProc"); }
  QComboBox* dayWeek() const { return child<QComboBox>("ComboBoxDayWeek"); }
  // The fast set's 50 ms response delay leaves a loaded machine little room:
  // a read that missed it is repeated, as the engineer would.
  void readClock() {
    for (int attempt = 0; attempt < 3; ++attempt) {
      const size_t before = display_.messages.size();
      click("btnReadDataTime");
      if (display_.messages.size() == before) return;
      display_.messages.resize(before);
    }
    ADD_FAILURE() << "the instrument clock could not be read three times in a row";
  }
  // The field's separator is the locale's time separator.
  QString timeText(const char* hh, const char* mm, const char* ss) const {
    const QChar separator = time()->displayText().at(2);
    return QString::fromLatin1(hh) + separator + mm + separator + ss;
  }
};

TEST_F(ClockWindow, SetTheInstrumentClockAndReadItBack) {
  date()->setText("07.12.26");
  time()->setText(timeText("10", "20", "30"));
  dayWeek()->setCurrentIndex(0);
  child<QLineEdit>("EditCorrect")->setText("-9");
  click("btnWriteDataTime");
  ASSERT_EQ(display_.messages, (std::vector<Message>{confirmation("Дата и время установлены")}));
  const sim::ClockTime set = simulator_.instrument().clock();
  EXPECT_EQ(set.day, 7);
  EXPECT_EQ(set.month, 12);
  EXPECT_EQ(set.year, 26);
  EXPECT_EQ(set.hours, 10);
  EXPECT_EQ(set.minutes, 20);
  EXPECT_EQ(simulator_.instrument().clockCorrection(), -9);

  date()->clear();
  time()->clear();
  dayWeek()->setCurrentIndex(3);
  readClock();
  EXPECT_EQ(display_.messages.size(), 1u);
  EXPECT_EQ(date()->displayText(), "07.12.26");
  // The clock runs on: seconds only move forward from 30.
  EXPECT_TRUE(time()->displayText().startsWith(timeText("10", "20", "")))
      << time()->displayText().toStdString();
  EXPECT_GE(time()->displayText().mid(6).toInt(), 30);
  EXPECT_EQ(dayWeek()->currentText(), "Пн.");
  EXPECT_EQ(child<QLineEdit>("EditCorrect")->text(), "-9");
}

TEST_F(ClockWindow, ADateOrTimeThatDoesNotExistIsNotWritten) {
  const auto typeKeys = [](QLineEdit* field, const char* digits) {
    field->setFocus();
    field->clear();
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClicks(field, QString::fromLatin1(digits));
  };
  typeKeys(date(), "451327");
  typeKeys(time(), "256199");
  ASSERT_EQ(date()->displayText(), "45.13.27");
  ASSERT_EQ(time()->displayText(), timeText("25", "61", "99"));
  click("btnWriteDataTime");
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{error("Неверный ввод даты"), error("Неверный ввод времени")}));

  // The 29th of February only in a leap year.
  display_.messages.clear();
  typeKeys(date(), "290227");
  typeKeys(time(), "235959");
  click("btnWriteDataTime");
  EXPECT_EQ(display_.messages, (std::vector<Message>{error("Неверный ввод даты")}));
  EXPECT_EQ(simulator_.requestsServed(), 0u) << "nothing written";

  display_.messages.clear();
  typeKeys(date(), "290228");
  typeKeys(time(), "120000");
  click("btnWriteDataTime");
  EXPECT_EQ(display_.messages, (std::vector<Message>{confirmation("Дата и время установлены")}));
  EXPECT_EQ(simulator_.instrument().clock().day, 29);
  EXPECT_EQ(simulator_.instrument().clock().month, 2);
  EXPECT_EQ(simulator_.instrument().clock().year, 28);
}

TEST_F(ClockWindow, CopyTakesThePcClockAndAFailedReadEmptiesTheFields) {
  auto* timer = windows_->formMain().findChild<QTimer*>("TimerTimer");
  ASSERT_NE(timer, nullptr);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return child<QLabel>("statictextDateNow")->text() != "24.24.24"; }));
  timer->stop();  // the display stays as copied
  click("btnCopyTime");
  EXPECT_EQ(date()->displayText(), child<QLabel>("statictextDateNow")->text());
  QString pcTime = child<QLabel>("statictextTimeNow")->text();
  EXPECT_EQ(time()->displayText(), pcTime.replace(':', time()->displayText().at(2)));
  EXPECT_EQ(dayWeek()->currentText(), child<QLabel>("StaticTextDayWeekNow")->text());

  simulator_.setFault(sim::Fault::kSilent);
  click("btnReadDataTime");
  EXPECT_EQ(display_.messages, (std::vector<Message>{error("Нет связи с прибором")}));
  EXPECT_EQ(date()->displayText(), "__.__.__");
  EXPECT_TRUE(time()->displayText().startsWith("__"));
  // With the fields empty a write stops at the field checks.
  click("btnWriteDataTime");
  EXPECT_EQ(display_.messages,
            (std::vector<Message>{error("Нет связи с прибором"), error("Неверный ввод даты"),
                                  error("Неверный ввод времени")}));
}

}  // namespace
