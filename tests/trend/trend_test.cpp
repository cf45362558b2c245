// The trend's model: the hour's limit, gaps, setpoint lines and labels, a
// scale per series, ticks under both decimal separators, fault marks and the
// spreadsheet file.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "trend/setpoint_levels.h"
#include "trend/trend_axes.h"
#include "trend/trend_csv.h"
#include "trend/trend_geometry.h"
#include "trend/trend_samples.h"

namespace {

using trend::Series;

constexpr int64_t kPeriodMs = 2000;
// 2026-12-08 10:00:00 UTC.
constexpr int64_t kStartMs = 1'796'724'000'000;
constexpr int32_t kMoscow = 3 * 3600;

device::CurrentData reading(float physical, float parameter = 12.0f, float coldJunction = 21.5f,
                            int16_t faultWord = 0) {
  device::CurrentData data;
  data.physical = physical;
  data.parameter = parameter;
  data.coldJunction = coldJunction;
  data.faultWord = faultWord;
  return data;
}

// A plot 1000 wide and 100 high on the series' own scale.
trend::PlotFrame frameOf(const trend::TrendSamples& samples, Series series = Series::kPhysical) {
  trend::PlotFrame frame{
      0, 0, 1000, 100, *trend::TimeAxis(samples, 6), *trend::ValueAxis(samples, series, 5, ".")};
  return frame;
}

std::vector<size_t> lineLengths(const trend::TrendSamples& samples, Series series) {
  std::vector<size_t> lengths;
  for (const auto& line : trend::SeriesPolylines(samples, series, frameOf(samples, series)))
    lengths.push_back(line.size());
  return lengths;
}

TEST(TrendSamples, KeepsTheLastHourOfPollsOldestFirst) {
  trend::TrendSamples samples;
  const size_t polls = trend::kHourSamples + 25;
  for (size_t n = 0; n < polls; ++n)
    samples.addAnswer(kStartMs + static_cast<int64_t>(n) * kPeriodMs, kMoscow,
                      reading(static_cast<float>(n)));
  ASSERT_EQ(samples.samples().size(), trend::kHourSamples);
  EXPECT_EQ(samples.samples().front().value(Series::kPhysical), 25.0f);
  EXPECT_EQ(samples.samples().back().value(Series::kPhysical), static_cast<float>(polls - 1));
  // The whole hour is one unbroken line, scrolled: it starts at the left edge.
  const auto lines = trend::SeriesPolylines(samples, Series::kPhysical, frameOf(samples));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), trend::kHourSamples);
  EXPECT_DOUBLE_EQ(lines[0].front().x, 0.0);
  EXPECT_DOUBLE_EQ(lines[0].back().x, 1000.0);
}

TEST(TrendSamples, AMissedPollAPauseAndANonNumberBreakTheLineWithoutALineToZero) {
  trend::TrendSamples samples;
  int64_t t = kStartMs;
  auto answer = [&](float physical, float parameter = 12.0f) {
    samples.addAnswer(t, kMoscow, reading(physical, parameter));
    t += kPeriodMs;
  };
  answer(50);
  answer(51);
  samples.addMissed(t, kMoscow);
  t += kPeriodMs;
  answer(52);
  answer(53);
  answer(54);
  t += 60'000;  // the poll was stopped for a minute
  answer(55);
  answer(NAN, 13);
  answer(56, 14);

  EXPECT_EQ(lineLengths(samples, Series::kPhysical), (std::vector<size_t>{2, 3, 1, 1}));
  EXPECT_EQ(lineLengths(samples, Series::kParameter), (std::vector<size_t>{2, 3, 3}));
  // No point of any line lies below the lowest value measured.
  const trend::PlotFrame frame = frameOf(samples);
  for (const auto& line : trend::SeriesPolylines(samples, Series::kPhysical, frame)) {
    for (const auto& point : line) EXPECT_LE(point.y, frame.y(50.0) + 1e-9);
  }
  // A missed poll alone has nothing to scale: no axis until a value arrives.
  trend::TrendSamples silent;
  silent.addMissed(kStartMs, kMoscow);
  EXPECT_FALSE(trend::ValueAxis(silent, Series::kPhysical, 5, ".").has_value());
  EXPECT_TRUE(trend::TimeAxis(silent, 6).has_value());
}

TEST(TrendSamples, SetpointLinesOnlyAfterAReadAndOnlyForSetpointsSwitchedOn) {
  trend::TrendSamples samples;
  samples.addAnswer(kStartMs, kMoscow, reading(40, 41, 42));
  EXPECT_FALSE(samples.setpointLevels().has_value());
  const auto before = *trend::ValueAxis(samples, Series::kPhysical, 5, ".");
  EXPECT_LT(before.high, 100.0);

  device::SetpointsForm form;
  form.decimalPoint = 1;
  form.setpoints[0] = {true, "120.5", "", {}};
  form.setpoints[1] = {true, "__._", "", {}};
  form.setpoints[2] = {true, "-10.0", "", {}};
  form.setpoints[3] = {false, "900.0", "", {}};  // switched off: no threshold
  const trend::SetpointLevels levels = trend::SetpointLevelsOf(form);
  EXPECT_EQ(levels, (trend::SetpointLevels{120.5, std::nullopt, -10.0, std::nullopt}));
  samples.setSetpointLevels(levels);
  ASSERT_TRUE(samples.setpointLevels().has_value());
  const auto after = *trend::ValueAxis(samples, Series::kPhysical, 5, ".");
  EXPECT_LE(after.low, -10.0);
  EXPECT_GE(after.high, 120.5);
  EXPECT_LT(after.high, 900.0) << "a setpoint switched off does not stretch the axis";
  EXPECT_LT(trend::ValueAxis(samples, Series::kParameter, 5, ".")->high, 100.0)
      << "the setpoints are in the measured quantity's units only";
}

TEST(TrendSamples, EqualSetpointsShareOneLabel) {
  const struct {
    trend::SetpointLevels levels;
    std::vector<trend::SetpointMark> marks;
  } cases[] = {
      {{10.0, 20.0, 30.0, 40.0}, {{10, "У1"}, {20, "У2"}, {30, "У3"}, {40, "У4"}}},
      {{10.0, 10.0, std::nullopt, 10.0}, {{10, "У1, У2, У4"}}},
      {{5.0, 7.0, 5.0, 7.0}, {{5, "У1, У3"}, {7, "У2, У4"}}},
      {{std::nullopt, std::nullopt, std::nullopt, std::nullopt}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(trend::SetpointMarks(c.levels), c.marks);
}

TEST(TrendAxes, EachSeriesHasAScaleOfItsOwn) {
  // A 0..1 V parameter beside a 0..100 quantity is no flat line at 0.
  trend::TrendSamples samples;
  for (int n = 0; n <= 10; ++n)
    samples.addAnswer(kStartMs + n * kPeriodMs, kMoscow,
                      reading(10.0f * static_cast<float>(n), 0.1f * static_cast<float>(n), 21.5f));
  const auto physical = *trend::ValueAxis(samples, Series::kPhysical, 5, ".");
  const auto parameter = *trend::ValueAxis(samples, Series::kParameter, 5, ".");
  EXPECT_EQ(physical.low, 0.0);
  EXPECT_EQ(physical.high, 100.0);
  EXPECT_EQ(parameter.low, 0.0);
  EXPECT_NEAR(parameter.high, 1.0, 1e-9);
  const auto lines =
      trend::SeriesPolylines(samples, Series::kParameter, frameOf(samples, Series::kParameter));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NEAR(lines[0].front().y - lines[0].back().y, 100.0, 1e-6) << "the whole plot's height";
}

TEST(TrendAxes, ValueTicksAreWholeStepsInTheLocalesNumberFormat) {
  struct Case {
    float low, high;
    const char* separator;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {0.12f, 0.97f, ",", {"0,0", "0,2", "0,4", "0,6", "0,8", "1,0"}},
      {0.12f, 0.97f, ".", {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}},
      {-3.0f, 18.0f, ",", {"-5", "0", "5", "10", "15", "20"}},
      {1200.0f, 1290.0f, ",", {"1200", "1220", "1240", "1260", "1280", "1300"}},
      {-0.0035f, 0.003f, ",", {"-0,004", "-0,002", "0,000", "0,002", "0,004"}},
  };
  for (const Case& c : cases) {
    trend::TrendSamples samples;
    samples.addAnswer(kStartMs, kMoscow, reading(c.low, c.low, c.low));
    samples.addAnswer(kStartMs + kPeriodMs, kMoscow, reading(c.high, c.high, c.high));
    const auto axis = trend::ValueAxis(samples, Series::kParameter, 5, c.separator);
    ASSERT_TRUE(axis.has_value());
    std::vector<std::string> labels;
    for (const auto& tick : axis->ticks) labels.push_back(tick.label);
    EXPECT_EQ(labels, c.labels) << c.low << ".." << c.high << " " << c.separator;
    EXPECT_LE(axis->low, c.low);
    EXPECT_GE(axis->high, c.high);
  }
}

TEST(TrendAxes, AFlatOrExtremeTrendStillGetsAUsableAxis) {
  for (const float value : {0.0f, 21.5f, -3.4e38f, 3.4e38f, 1e-30f}) {
    trend::TrendSamples samples;
    samples.addAnswer(kStartMs, kMoscow, reading(value, value, value));
    samples.addAnswer(kStartMs + kPeriodMs, kMoscow, reading(INFINITY, value, value));
    const auto axis = trend::ValueAxis(samples, Series::kPhysical, 5, ",");
    ASSERT_TRUE(axis.has_value()) << value;
    EXPECT_LT(axis->low, axis->high) << value;
    EXPECT_LE(axis->low, value);
    EXPECT_GE(axis->high, value);
    EXPECT_FALSE(axis->ticks.empty());
    EXPECT_LE(axis->ticks.size(), 12u);
    for (const auto& tick : axis->ticks) EXPECT_FALSE(tick.label.empty());
  }
}

TEST(TrendAxes, TimeTicksFallOnWholeStepsOfLocalTime) {
  trend::TrendSamples samples;
  // 13:00:07 Moscow time, then polls for ten minutes.
  for (int64_t t = kStartMs + 7000; t <= kStartMs + 607'000; t += kPeriodMs)
    samples.addAnswer(t, kMoscow, reading(1));
  const auto axis = trend::TimeAxis(samples, 6);
  ASSERT_TRUE(axis.has_value());
  std::vector<std::string> labels;
  for (const auto& tick : axis->ticks) labels.push_back(tick.label);
  EXPECT_EQ(labels, (std::vector<std::string>{"13:02", "13:04", "13:06", "13:08", "13:10"}));
  for (const auto& tick : axis->ticks) {
    EXPECT_GE(tick.at, axis->low);
    EXPECT_LE(tick.at, axis->high);
  }

  // A few first polls span at least a minute, with seconds in the labels.
  trend::TrendSamples first;
  first.addAnswer(kStartMs + 7000, kMoscow, reading(1));
  const auto short_axis = trend::TimeAxis(first, 6);
  ASSERT_TRUE(short_axis.has_value());
  EXPECT_EQ(short_axis->high - short_axis->low, static_cast<double>(trend::kMinimumSpanMs));
  EXPECT_EQ(short_axis->ticks.front().label, "13:00:10");
}

TEST(TrendGeometry, FaultMarksCoverRunsOfTheSameFaultWord) {
  trend::TrendSamples samples;
  const int16_t words[] = {0, 0x0405, 0x0405, 0x0001, 0, 0x0001};
  int64_t t = kStartMs;
  for (const int16_t word : words) {
    samples.addAnswer(t, kMoscow, reading(1, 1, 1, word));
    t += kPeriodMs;
  }
  samples.addMissed(t, kMoscow);
  t += kPeriodMs;
  samples.addAnswer(t, kMoscow, reading(1, 1, 1, static_cast<int16_t>(0x8000)));
  const std::vector<trend::FaultRun> expected = {
      {kStartMs + 2000, kStartMs + 4000, 0x0405},
      {kStartMs + 6000, kStartMs + 6000, 0x0001},
      {kStartMs + 10000, kStartMs + 10000, 0x0001},
      {kStartMs + 14000, kStartMs + 14000, 0x8000},
  };
  EXPECT_EQ(trend::FaultRuns(samples), expected);
}

TEST(TrendGeometry, ThinningKeepsEveryColumnsFirstLowestHighestAndLastPoint) {
  // Three points per column, as an hour on a plot of 600 pixels gives.
  std::vector<trend::PlotPoint> line;
  for (int n = 0; n < 1800; ++n) line.push_back({n / 3.0, 50 + 40 * std::sin(n * 0.37) + (n % 7)});
  const auto thinned = trend::ThinnedToColumns(line);
  EXPECT_LE(thinned.size(), 4u * 600);
  EXPECT_EQ(thinned.front(), line.front());
  EXPECT_EQ(thinned.back(), line.back());
  for (int column = 0; column < 600; ++column) {
    double low = INFINITY, high = -INFINITY, thinnedLow = INFINITY, thinnedHigh = -INFINITY;
    for (const auto& p : line) {
      if (std::floor(p.x) == column) low = std::min(low, p.y), high = std::max(high, p.y);
    }
    for (const auto& p : thinned) {
      if (std::floor(p.x) == column)
        thinnedLow = std::min(thinnedLow, p.y), thinnedHigh = std::max(thinnedHigh, p.y);
    }
    EXPECT_EQ(thinnedLow, low) << column;
    EXPECT_EQ(thinnedHigh, high) << column;
  }
  for (size_t n = 1; n < thinned.size(); ++n) EXPECT_LE(thinned[n - 1].x, thinned[n].x);
  // Fewer points than columns pass unchanged.
  const std::vector<trend::PlotPoint> sparse = {{0, 1}, {5, 2}, {9.5, 0}};
  EXPECT_EQ(trend::ThinnedToColumns(sparse), sparse);
}

TEST(TrendCsv, ArchiveFileConventionsUnderBothLocales) {
  trend::TrendSamples samples;
  samples.addAnswer(kStartMs + 5000, kMoscow, reading(1234.5678f, 12.0f, 21.96f, 0x0405));
  samples.addMissed(kStartMs + 7000, kMoscow);

  const std::string bom = "\xEF\xBB\xBF";
  const std::string header =
      "Дата,время;Измеряемая величина;Измеряемый параметр;"
      "Температура окружающей среды, С;Код ошибки\r\n";
  EXPECT_EQ(trend::EncodeTrendCsv(samples, ","),
            bom + header + "08.12.26 13:00:05;1234,570;12,000;22,0;1029\r\n" +
                "08.12.26 13:00:07;;;;Прибор не отвечает\r\n");
  EXPECT_EQ(trend::EncodeTrendCsv(samples, "."),
            bom +
                "\"Дата,время\",Измеряемая величина,Измеряемый параметр,"
                "\"Температура окружающей среды, С\",Код ошибки\r\n" +
                "08.12.26 13:00:05,1234.570,12.000,22.0,1029\r\n" +
                "08.12.26 13:00:07,,,,Прибор не отвечает\r\n");
}

}  // namespace
