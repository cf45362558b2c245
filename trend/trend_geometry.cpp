#include "trend/trend_geometry.h"

#include <algorithm>
#include <cmath>

namespace trend {

namespace {

bool continues(const Sample& before, const Sample& after) {
  return before.answered && after.answered && after.timeMs >= before.timeMs &&
         after.timeMs - before.timeMs <= kGapMs;
}

}  // namespace

double PlotFrame::x(double timeMs) const {
  const double span = time.high - time.low;
  return left + (span > 0 ? (timeMs - time.low) / span * width : 0);
}

double PlotFrame::y(double v) const {
  const double span = value.high - value.low;
  return top + height - (span > 0 ? (v - value.low) / span * height : 0);
}

std::vector<std::vector<PlotPoint>> SeriesPolylines(const TrendSamples& trend, Series series,
                                                    const PlotFrame& frame) {
  std::vector<std::vector<PlotPoint>> lines;
  const Sample* previous = nullptr;
  for (const Sample& sample : trend.samples()) {
    const float value = sample.value(series);
    const bool drawn = sample.answered && std::isfinite(value);
    if (drawn) {
      if (lines.empty() || !previous || !continues(*previous, sample) ||
          !std::isfinite(previous->value(series))) {
        lines.emplace_back();
      }
      lines.back().push_back(
          {frame.x(static_cast<double>(sample.timeMs)), frame.y(static_cast<double>(value))});
    }
    previous = &sample;
  }
  return lines;
}

std::vector<PlotPoint> ThinnedToColumns(const std::vector<PlotPoint>& line) {
  std::vector<PlotPoint> thinned;
  thinned.reserve(line.size());
  size_t begin = 0;
  while (begin < line.size()) {
    const double column = std::floor(line[begin].x);
    size_t end = begin + 1;
    size_t low = begin;
    size_t high = begin;
    for (; end < line.size() && std::floor(line[end].x) == column; ++end) {
      if (line[end].y < line[low].y) low = end;
      if (line[end].y > line[high].y) high = end;
    }
    // Indices in order, each once: first, the two extremes, last.
    size_t keep[] = {begin, std::min(low, high), std::max(low, high), end - 1};
    size_t previous = line.size();
    for (const size_t index : keep) {
      if (index != previous) thinned.push_back(line[index]);
      previous = index;
    }
    begin = end;
  }
  return thinned;
}

std::vector<FaultRun> FaultRuns(const TrendSamples& trend) {
  std::vector<FaultRun> runs;
  const Sample* previous = nullptr;
  for (const Sample& sample : trend.samples()) {
    const auto word = static_cast<uint16_t>(sample.faultWord);
    if (sample.answered && word != 0) {
      if (previous && continues(*previous, sample) &&
          static_cast<uint16_t>(previous->faultWord) == word) {
        runs.back().lastMs = sample.timeMs;
      } else {
        runs.push_back({sample.timeMs, sample.timeMs, word});
      }
    }
    previous = &sample;
  }
  return runs;
}

}  // namespace trend
