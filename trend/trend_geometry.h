#pragma once

#include <cstdint>
#include <vector>

#include "trend/trend_axes.h"
#include "trend/trend_samples.h"

namespace trend {

// A pause of the poll (stopped, or held by another operation) longer than
// this breaks the lines as a missed poll does: the poll period is 2 s.
inline constexpr int64_t kGapMs = 5000;

struct PlotPoint {
  double x = 0;
  double y = 0;
  bool operator==(const PlotPoint&) const = default;
};

// The plot's rectangle in device units and the two axes mapped onto it.
struct PlotFrame {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  Axis time;
  Axis value;

  double x(double timeMs) const;
  double y(double value) const;
};

// One polyline per run of polls that answered with a finite value of the
// series, oldest first: a missed poll, a value that is no number, a pause
// longer than kGapMs or a clock set back ends a run.
std::vector<std::vector<PlotPoint>> SeriesPolylines(const TrendSamples& trend, Series series,
                                                    const PlotFrame& frame);

// A polyline drawn the same with fewer points: of the points falling in one
// device pixel column only the first, the lowest, the highest and the last
// are kept, in their order, so an hour of polls on a narrow plot costs no
// more than its width.
std::vector<PlotPoint> ThinnedToColumns(const std::vector<PlotPoint>& line);

// Consecutive answered polls with the same non-zero fault word.
struct FaultRun {
  int64_t firstMs = 0;
  int64_t lastMs = 0;
  uint16_t faultWord = 0;
  bool operator==(const FaultRun&) const = default;
};

std::vector<FaultRun> FaultRuns(const TrendSamples& trend);

}  // namespace trend
