#pragma once

#include <QWidget>
#include <array>

#include "trend/trend_samples.h"

// The trend drawn with Qt's own painting: a legend above, each series shown
// on a scale of its own (the first on the left with the grid, the others on
// the right, ticks in the series' colour), a time axis below with the fault
// marks under it, and the setpoints switched on as dashed lines on the
// measured quantity's scale, equal ones under one label. Where the room is
// short, tick labels are left out and the legend is shortened rather than
// drawn over each other.
class TrendPlot : public QWidget {
  Q_OBJECT

 public:
  explicit TrendPlot(const trend::TrendSamples& samples, QWidget* parent = nullptr);

  static QColor seriesColor(trend::Series series);
  static QString seriesName(trend::Series series);
  static QString seriesShortName(trend::Series series);

  void setSeriesShown(trend::Series series, bool shown);
  bool seriesShown(trend::Series series) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const trend::TrendSamples& samples_;
  std::array<bool, trend::kSeriesCount> shown_{true, true, true};
};
