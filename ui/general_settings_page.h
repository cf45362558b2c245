#pragma once

#include <QDateTime>
#include <QWidget>

// Page "Общие настройки": the instrument's identification (GroupBox3), its
// general settings (GroupBox4) and the clock (GroupBox11).
class GeneralSettingsPage : public QWidget {
  Q_OBJECT

 public:
  explicit GeneralSettingsPage(QWidget* parent = nullptr);

  // The PC clock display, refreshed on every tick of the display timer.
  void showPcClock(const QDateTime& now);
};
