#pragma once

#include <QDateTime>
#include <QWidget>

#include "device/clock_setting.h"
#include "device/general_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// Page "Общие настройки": the instrument's identification (GroupBox3), its
// general settings (GroupBox4) and the clock (GroupBox11). The page is the
// settings and clock operations' view of their fields.
class GeneralSettingsPage : public QWidget,
                            public device::GeneralSettingsFields,
                            public device::ClockFields {
  Q_OBJECT

 public:
  explicit GeneralSettingsPage(QWidget* parent = nullptr);

  // The PC clock display, refreshed on every tick of the display timer.
  void showPcClock(const QDateTime& now);
  // ">>": the PC clock display into the instrument clock fields.
  void copyPcClock();

  device::GeneralSettingsForm settingsForm() const override;
  void showSettings(const device::GeneralSettingsForm& form) override;
  device::ClockForm clockForm() const override;
  void showClock(const device::ClockForm& form) override;

 private:
  void buildLayout();

  QLineEdit* address_;
  QComboBox* protocol_;
  QComboBox* baud_;
  QComboBox* inputType_;
  QLineEdit* filterPeriod_;
  QLineEdit* archivePeriod_;
  QCheckBox* squareRoot_;
  QCheckBox* coldJunction_;
  QCheckBox* scaling_;
  QCheckBox* outputCurrent_;

  QLabel* dateNow_;
  QLabel* timeNow_;
  QLabel* dayWeekNow_;
  QLineEdit* date_;
  QLineEdit* time_;
  QComboBox* dayWeek_;
  QLineEdit* correct_;
};
