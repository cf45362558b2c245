#pragma once

#include <QWidget>

#include "trend/trend_samples.h"

// The trend drawn with Qt's own painting: a value axis on the left, a time
// axis below with the fault marks under it, one polyline per series, the
// setpoint levels as dashed lines, and a legend above.
class TrendPlot : public QWidget {
  Q_OBJECT

 public:
  explicit TrendPlot(const trend::TrendSamples& samples, QWidget* parent = nullptr);

  static QColor seriesColor(trend::Series series);
  static QString seriesName(trend::Series series);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const trend::TrendSamples& samples_;
};
