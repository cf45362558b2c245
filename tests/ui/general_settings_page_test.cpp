#include "ui/general_settings_page.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

template <typename T>
T* child(const QWidget& page, const char* name) {
  T* found = page.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

QString text(const QWidget& page, const char* name) { return child<QLabel>(page, name)->text(); }

TEST(GeneralSettingsPage, PcClockShowsTwoDigitPartsAndTheYearModuloThousand) {
  GeneralSettingsPage page;
  EXPECT_EQ(text(page, "statictextDateNow"), "24.24.24") << "caption until the first tick";
  EXPECT_EQ(text(page, "statictextTimeNow"), "60:60:60");
  EXPECT_EQ(text(page, "StaticTextDayWeekNow"), "");

  page.showPcClock(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)));
  EXPECT_EQ(text(page, "statictextDateNow"), "07.12.26");
  EXPECT_EQ(text(page, "statictextTimeNow"), "09:05:03");
  EXPECT_EQ(text(page, "StaticTextDayWeekNow"), "Пн.");

  page.showPcClock(QDateTime(QDate(2100, 1, 3), QTime(23, 59, 59)));
  EXPECT_EQ(text(page, "statictextDateNow"), "03.01.100");
  EXPECT_EQ(text(page, "StaticTextDayWeekNow"), "Вс.");
  page.showPcClock(QDateTime(QDate(2009, 5, 2), QTime(0, 0, 0)));
  EXPECT_EQ(text(page, "statictextDateNow"), "02.05.09");
  EXPECT_EQ(text(page, "StaticTextDayWeekNow"), "Сб.");
}

TEST(GeneralSettingsPage, SettingsStartEmptyWithoutSelection) {
  GeneralSettingsPage page;
  for (const char* name : {"EditPribAdr", "editPeriodFiltr", "editPeriodArh"}) {
    EXPECT_TRUE(child<QLineEdit>(page, name)->text().isEmpty()) << name;
  }
  const std::pair<const char*, int> lists[] = {
      {"comboboxProtocol", 2}, {"comboboxBaud", 7}, {"comboboxTypeGrad", 26}};
  for (const auto& [name, count] : lists) {
    EXPECT_EQ(child<QComboBox>(page, name)->count(), count) << name;
    EXPECT_EQ(child<QComboBox>(page, name)->currentIndex(), -1) << name;
    EXPECT_FALSE(child<QComboBox>(page, name)->isEditable()) << name;
  }
  EXPECT_EQ(child<QComboBox>(page, "comboboxTypeGrad")->itemText(3), "100М (W=1. 4260)");
  EXPECT_EQ(child<QComboBox>(page, "comboboxTypeGrad")->itemText(25), "(0…1000) Ом");
  EXPECT_EQ(child<QCheckBox>(page, "CheckBoxFlagCanXC")->text(), "Включить компенсацию ХС");
  EXPECT_EQ(child<QPushButton>(page, "BitBtnWriteNastrPrib")->text(), "Записать в прибор");
}

TEST(GeneralSettingsPage, ClockFieldsKeepTheirLiteralsAndLimits) {
  GeneralSettingsPage page;
  auto* date = child<QLineEdit>(page, "MaskEdit_DataProc");
  auto* time = child<QLineEdit>(page, "MaskEdit_TimeProc");
  EXPECT_EQ(date->displayText(), "__.__.__");
  EXPECT_EQ(time->displayText().size(), 8);
  EXPECT_EQ(time->displayText()[0], u'_');
  EXPECT_EQ(time->displayText()[2], time->displayText()[5]) << "one separator in both places";

  // Digits only: a letter is not taken, the literals stay in place.
  date->setText("3x.12.26");
  EXPECT_EQ(date->displayText().mid(2), ".12.26");
  date->setText("07.12.26");
  EXPECT_EQ(date->displayText(), "07.12.26");

  auto* correct = child<QLineEdit>(page, "EditCorrect");
  EXPECT_EQ(correct->text(), "0");
  EXPECT_EQ(child<QComboBox>(page, "ComboBoxDayWeek")->itemText(6), "Вс.");
  EXPECT_EQ(child<QPushButton>(page, "btnCopyTime")->toolTip(), "Скопировать дату и время");
}

// The limits on typing fit every byte value; the correction takes -9 to 9 only.
TEST(GeneralSettingsPage, TypingStopsAtTheLongestValueAFieldTakes) {
  GeneralSettingsPage page;
  const std::pair<const char*, const char*> typed[] = {
      {"EditPribAdr", "255"},
      {"editPeriodFiltr", "255"},
      {"editPeriodArh", "100"},
      {"EditCorrect", "-1"},
  };
  for (const auto& [name, kept] : typed) {
    auto* field = child<QLineEdit>(page, name);
    field->clear();
    QTest::keyClicks(field, QString::fromLatin1(kept) + "0");
    EXPECT_EQ(field->text(), kept) << name;
  }
}

}  // namespace
