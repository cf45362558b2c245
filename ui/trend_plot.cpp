#include "ui/trend_plot.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "trend/setpoint_levels.h"
#include "trend/trend_geometry.h"

namespace {

constexpr int kMargin = 8;
constexpr int kTickLength = 4;
constexpr int kFaultMarkHeight = 6;
constexpr int kLegendLine = 18;
constexpr int kLegendGap = 14;
constexpr int kLabelGap = 12;  // least room between two time labels
constexpr trend::Series kSeries[] = {trend::Series::kPhysical, trend::Series::kParameter,
                                     trend::Series::kColdJunction};
const QColor kSetpointColor(120, 60, 160);
const QColor kFaultColor(Qt::red);
const QColor kGridColor(225, 225, 225);

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

struct ShownSeries {
  trend::Series series;
  trend::Axis axis;
  int labelWidth = 0;
};

struct LegendEntry {
  QPen pen;
  QString name;
  QString shortName;
};

}  // namespace

TrendPlot::TrendPlot(const trend::TrendSamples& samples, QWidget* parent)
    : QWidget(parent), samples_(samples) {
  setObjectName(QStringLiteral("TrendPlot"));
  setMinimumSize(360, 200);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
}

QColor TrendPlot::seriesColor(trend::Series series) {
  switch (series) {
    case trend::Series::kPhysical:
      return {0, 90, 200};
    case trend::Series::kParameter:
      return {0, 140, 60};
    case trend::Series::kColdJunction:
      return {220, 120, 0};
  }
  return Qt::black;
}

QString TrendPlot::seriesName(trend::Series series) {
  switch (series) {
    case trend::Series::kPhysical:
      return QStringLiteral("Измеряемая величина");
    case trend::Series::kParameter:
      return QStringLiteral("Измеряемый параметр");
    case trend::Series::kColdJunction:
      return QStringLiteral("Температура окружающей среды, С");
  }
  return {};
}

QString TrendPlot::seriesShortName(trend::Series series) {
  switch (series) {
    case trend::Series::kPhysical:
      return QStringLiteral("Величина");
    case trend::Series::kParameter:
      return QStringLiteral("Параметр");
    case trend::Series::kColdJunction:
      return QStringLiteral("Темп. окр., С");
  }
  return {};
}

void TrendPlot::setSeriesShown(trend::Series series, bool shown) {
  shown_[static_cast<size_t>(series)] = shown;
  update();
}

bool TrendPlot::seriesShown(trend::Series series) const {
  return shown_[static_cast<size_t>(series)];
}

void TrendPlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = painter.fontMetrics();
  const int lineHeight = metrics.height();
  const QColor ink = palette().color(QPalette::WindowText);
  const std::string separator = QLocale::system().decimalPoint().toStdString();
  const bool physicalShown = seriesShown(trend::Series::kPhysical);
  const std::vector<trend::SetpointMark> marks =
      samples_.setpointLevels() && physicalShown ? trend::SetpointMarks(*samples_.setpointLevels())
                                                 : std::vector<trend::SetpointMark>();

  // Legend: the full names where they fit, else the short ones, else as
  // many entries as fit.
  std::vector<LegendEntry> legend;
  for (const trend::Series series : kSeries) {
    if (seriesShown(series))
      legend.push_back({QPen(seriesColor(series), 2), seriesName(series), seriesShortName(series)});
  }
  if (!marks.empty())
    legend.push_back(
        {QPen(kSetpointColor, 1, Qt::DashLine), QStringLiteral("Уставки"), QStringLiteral("Уст.")});
  const int legendRoom = width() - 2 * kMargin;
  const auto legendWidth = [&](bool shortNames) {
    int total = 0;
    for (const LegendEntry& entry : legend)
      total += kLegendLine + 4 +
               metrics.horizontalAdvance(shortNames ? entry.shortName : entry.name) + kLegendGap;
    return total - kLegendGap;
  };
  const bool shortNames = legendWidth(false) > legendRoom;
  int x = kMargin;
  const int legendY = kMargin + lineHeight / 2;
  for (const LegendEntry& entry : legend) {
    const QString name = shortNames ? entry.shortName : entry.name;
    const int entryWidth = kLegendLine + 4 + metrics.horizontalAdvance(name);
    if (x + entryWidth > kMargin + legendRoom) break;
    painter.setPen(entry.pen);
    painter.drawLine(x, legendY, x + kLegendLine, legendY);
    painter.setPen(ink);
    painter.drawText(x + kLegendLine + 4, kMargin + metrics.ascent(), name);
    x += entryWidth + kLegendGap;
  }

  const int top = kMargin + lineHeight + 6;
  const int plotHeight = height() - top - (kMargin + kFaultMarkHeight + lineHeight + 6);
  // A value label every two lines at most.
  const int valueTicks = std::max(2, plotHeight / (2 * lineHeight));
  std::vector<ShownSeries> shown;
  for (const trend::Series series : kSeries) {
    if (!seriesShown(series)) continue;
    if (auto axis = trend::ValueAxis(samples_, series, valueTicks, separator)) {
      int labelWidth = metrics.horizontalAdvance(QStringLiteral("000"));
      for (const auto& tick : axis->ticks)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(text(tick.label)));
      shown.push_back({series, std::move(*axis), labelWidth});
    }
  }
  const auto axisWidth = [](const ShownSeries& s) { return s.labelWidth + kTickLength + 4; };
  const int left =
      kMargin + (shown.empty() ? metrics.horizontalAdvance(QStringLiteral("0000")) + kTickLength + 4
                               : axisWidth(shown.front()));
  int right = width() - kMargin;
  for (size_t i = 1; i < shown.size(); ++i) right -= axisWidth(shown[i]);
  const QRect area(left, top, right - left, plotHeight);
  if (area.width() < 20 || area.height() < 20) return;

  const int timeLabelWidth = metrics.horizontalAdvance(QStringLiteral("00:00:00"));
  const auto timeAxis =
      trend::TimeAxis(samples_, std::max(1, area.width() / (timeLabelWidth + kLabelGap)));
  painter.setPen(ink);
  if (!timeAxis || shown.empty()) {
    painter.drawRect(area);
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("Нет измерений"));
    return;
  }
  const auto frameOf = [&](const trend::Axis& value) {
    return trend::PlotFrame{static_cast<double>(area.left()),
                            static_cast<double>(area.top()),
                            static_cast<double>(area.width()),
                            static_cast<double>(area.height()),
                            *timeAxis,
                            value};
  };

  // Value axes: the first on the left with the grid, the others side by side
  // on the right; each label in its series' colour.
  int axisX = area.right();
  for (size_t i = 0; i < shown.size(); ++i) {
    const ShownSeries& s = shown[i];
    const trend::PlotFrame frame = frameOf(s.axis);
    const bool onLeft = i == 0;
    if (!onLeft) {
      painter.setPen(seriesColor(s.series));
      painter.drawLine(axisX, area.top(), axisX, area.bottom());
    }
    for (const auto& tick : s.axis.ticks) {
      const int y = qRound(frame.y(tick.at));
      if (onLeft) {
        painter.setPen(kGridColor);
        painter.drawLine(area.left(), y, area.right(), y);
      }
      painter.setPen(seriesColor(s.series));
      const QString label = text(tick.label);
      const int baseline = y + metrics.ascent() / 2 - 1;
      if (onLeft) {
        painter.drawLine(area.left() - kTickLength, y, area.left(), y);
        painter.drawText(area.left() - kTickLength - 2 - metrics.horizontalAdvance(label), baseline,
                         label);
      } else {
        painter.drawLine(axisX, y, axisX + kTickLength, y);
        painter.drawText(axisX + kTickLength + 2, baseline, label);
      }
    }
    if (!onLeft) axisX += axisWidth(s);
  }

  // Time labels centred under their ticks, each only where it clears the
  // one before and the plot's ends.
  const int axisY = area.bottom();
  int lastLabelRight = std::numeric_limits<int>::min();
  for (const auto& tick : timeAxis->ticks) {
    const int tx = qRound(frameOf(shown.front().axis).x(tick.at));
    painter.setPen(kGridColor);
    painter.drawLine(tx, area.top(), tx, area.bottom());
    painter.setPen(ink);
    painter.drawLine(tx, axisY, tx, axisY + kTickLength);
    const QString label = text(tick.label);
    const int labelWidth = metrics.horizontalAdvance(label);
    const int labelLeft = tx - labelWidth / 2;
    if (labelLeft < lastLabelRight + kLabelGap || labelLeft < kMargin ||
        labelLeft + labelWidth > width() - kMargin)
      continue;
    painter.drawText(labelLeft, axisY + kFaultMarkHeight + 4 + metrics.ascent(), label);
    lastLabelRight = labelLeft + labelWidth;
  }
  painter.setPen(ink);
  painter.drawRect(area);

  // Fault marks just under the time axis.
  const trend::PlotFrame timeFrame = frameOf(shown.front().axis);
  for (const trend::FaultRun& run : trend::FaultRuns(samples_)) {
    const double runLeft = timeFrame.x(static_cast<double>(run.firstMs));
    const double runRight = std::max(timeFrame.x(static_cast<double>(run.lastMs)), runLeft + 2);
    painter.fillRect(QRectF(runLeft, axisY + 1, runRight - runLeft, kFaultMarkHeight), kFaultColor);
  }

  painter.setClipRect(area.adjusted(0, 0, 1, 1));
  std::optional<trend::PlotFrame> physicalFrame;
  for (const ShownSeries& s : shown) {
    if (s.series == trend::Series::kPhysical) physicalFrame = frameOf(s.axis);
  }
  if (physicalFrame) {
    painter.setPen(QPen(kSetpointColor, 1, Qt::DashLine));
    for (const trend::SetpointMark& mark : marks) {
      const double y = physicalFrame->y(mark.level);
      painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
  }
  painter.setRenderHint(QPainter::Antialiasing);
  std::vector<QPointF> points;
  for (const ShownSeries& s : shown) {
    painter.setPen(QPen(seriesColor(s.series), 1.5));
    for (const auto& line : trend::SeriesPolylines(samples_, s.series, frameOf(s.axis))) {
      points.clear();
      for (const trend::PlotPoint& p : trend::ThinnedToColumns(line)) points.emplace_back(p.x, p.y);
      if (points.size() == 1)
        painter.drawPoint(points.front());
      else
        painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
  }
  // Setpoint labels inside the plot at its right end, above their lines (below
  // where the line runs along the top); one that would cover another is left out.
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (physicalFrame) {
    std::vector<QRect> drawn;
    for (const trend::SetpointMark& mark : marks) {
      const int y = qRound(physicalFrame->y(mark.level));
      if (y < area.top() || y > area.bottom()) continue;
      const QString label = text(mark.label);
      const QSize size(metrics.horizontalAdvance(label) + 4, lineHeight);
      QRect box(QPoint(area.right() - 2 - size.width(), y - 1 - size.height()), size);
      if (box.top() < area.top()) box.moveTop(y + 2);
      if (std::any_of(drawn.begin(), drawn.end(),
                      [&](const QRect& other) { return other.intersects(box); }))
        continue;
      painter.fillRect(box, QColor(255, 255, 255, 220));
      painter.setPen(kSetpointColor);
      painter.drawText(box, Qt::AlignCenter, label);
      drawn.push_back(box);
    }
  }
}
