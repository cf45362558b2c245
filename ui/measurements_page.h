#pragma once

#include <QWidget>

// Tab page "Измерения": live values, setpoint and relay states, fault indicators.
class MeasurementsPage : public QWidget {
  Q_OBJECT

 public:
  explicit MeasurementsPage(QWidget* parent = nullptr);

  // Colours of the indicators; inactive faults take the button face of the current palette.
  static QColor faultActiveColor();
  static QColor setpointActiveColor();
  static QColor setpointInactiveColor();

 private:
  QWidget* buildValues();
  QWidget* buildFaults();
};
