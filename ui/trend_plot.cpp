#include "ui/trend_plot.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <vector>

#include "trend/trend_geometry.h"

namespace {

constexpr int kMargin = 8;
constexpr int kLegendHeight = 22;
constexpr int kTickLength = 4;
constexpr int kFaultMarkHeight = 6;
constexpr int kTimeTicks = 8;
constexpr int kValueTicks = 6;
constexpr trend::Series kSeries[] = {trend::Series::kPhysical, trend::Series::kParameter,
                                     trend::Series::kColdJunction};
const QColor kSetpointColor(120, 60, 160);
const QColor kFaultColor(Qt::red);
const QColor kGridColor(225, 225, 225);

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

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

void TrendPlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = painter.fontMetrics();
  const int lineHeight = metrics.height();

  // Legend: a short line of each colour and its name, and the setpoints' dash.
  int x = kMargin;
  const int legendY = kMargin + lineHeight / 2;
  auto legend = [&](const QPen& pen, const QString& name) {
    painter.setPen(pen);
    painter.drawLine(x, legendY, x + 18, legendY);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(x + 22, kMargin + metrics.ascent(), name);
    x += 22 + metrics.horizontalAdvance(name) + 14;
  };
  for (const trend::Series series : kSeries)
    legend(QPen(seriesColor(series), 2), seriesName(series));
  if (samples_.setpointLevels())
    legend(QPen(kSetpointColor, 1, Qt::DashLine), QStringLiteral("Уставки"));

  const std::string separator = QLocale::system().decimalPoint().toStdString();
  const auto timeAxis = trend::TimeAxis(samples_, kTimeTicks);
  const auto valueAxis = trend::ValueAxis(samples_, kValueTicks, separator);

  int labelWidth = metrics.horizontalAdvance(QStringLiteral("0000"));
  if (valueAxis) {
    for (const auto& tick : valueAxis->ticks)
      labelWidth = std::max(labelWidth, metrics.horizontalAdvance(text(tick.label)));
  }
  const QRect area(kMargin + labelWidth + kTickLength + 2, kMargin + kLegendHeight,
                   width() - (2 * kMargin + labelWidth + kTickLength + 2) -
                       metrics.horizontalAdvance(QStringLiteral("У4")) - 4,
                   height() - (2 * kMargin + kLegendHeight + kFaultMarkHeight + lineHeight + 6));
  if (area.width() < 20 || area.height() < 20) return;

  painter.setPen(palette().color(QPalette::WindowText));
  if (!timeAxis || !valueAxis) {
    painter.drawRect(area);
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("Нет измерений"));
    return;
  }
  const trend::PlotFrame frame{static_cast<double>(area.left()),
                               static_cast<double>(area.top()),
                               static_cast<double>(area.width()),
                               static_cast<double>(area.height()),
                               *timeAxis,
                               *valueAxis};

  // Grid and ticks.
  for (const auto& tick : valueAxis->ticks) {
    const int y = qRound(frame.y(tick.at));
    painter.setPen(kGridColor);
    painter.drawLine(area.left(), y, area.right(), y);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(area.left() - kTickLength, y, area.left(), y);
    const QString label = text(tick.label);
    painter.drawText(area.left() - kTickLength - 2 - metrics.horizontalAdvance(label),
                     y + metrics.ascent() / 2 - 1, label);
  }
  const int axisY = area.bottom();
  for (const auto& tick : timeAxis->ticks) {
    const int tx = qRound(frame.x(tick.at));
    painter.setPen(kGridColor);
    painter.drawLine(tx, area.top(), tx, area.bottom());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(tx, axisY, tx, axisY + kTickLength);
    const QString label = text(tick.label);
    painter.drawText(tx - metrics.horizontalAdvance(label) / 2,
                     axisY + kFaultMarkHeight + 4 + metrics.ascent(), label);
  }
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawRect(area);

  // Fault marks just under the time axis.
  for (const trend::FaultRun& run : trend::FaultRuns(samples_)) {
    const double left = frame.x(static_cast<double>(run.firstMs));
    const double right = std::max(frame.x(static_cast<double>(run.lastMs)), left + 2);
    painter.fillRect(QRectF(left, axisY + 1, right - left, kFaultMarkHeight), kFaultColor);
  }

  painter.setClipRect(area.adjusted(0, 0, 1, 1));
  if (const auto& levels = samples_.setpointLevels()) {
    painter.setPen(QPen(kSetpointColor, 1, Qt::DashLine));
    for (size_t n = 0; n < levels->size(); ++n) {
      if (!(*levels)[n]) continue;
      const double y = frame.y(*(*levels)[n]);
      painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
  }
  painter.setRenderHint(QPainter::Antialiasing);
  std::vector<QPointF> points;
  for (const trend::Series series : kSeries) {
    painter.setPen(QPen(seriesColor(series), 1.5));
    for (const auto& line : trend::SeriesPolylines(samples_, series, frame)) {
      points.clear();
      for (const trend::PlotPoint& p : trend::ThinnedToColumns(line)) points.emplace_back(p.x, p.y);
      if (points.size() == 1)
        painter.drawPoint(points.front());
      else
        painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
  }
  // Setpoint names beside their lines, outside the plot.
  painter.setClipping(false);
  if (const auto& levels = samples_.setpointLevels()) {
    painter.setPen(kSetpointColor);
    for (size_t n = 0; n < levels->size(); ++n) {
      if (!(*levels)[n]) continue;
      const double y = frame.y(*(*levels)[n]);
      if (y < area.top() - 1 || y > area.bottom() + 1) continue;
      painter.drawText(QPointF(area.right() + 3, y + metrics.ascent() / 2.0 - 1),
                       QStringLiteral("У%1").arg(n + 1));
    }
  }
}
