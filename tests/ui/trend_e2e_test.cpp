// The window "Тренд" during a poll of the simulator: a point arrives and is
// drawn, the file and the clipboard get the trend, the window keeps its place
// in the settings file, and the page "Измерения" polls on as before.

#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests/ui/simulated_window.h"
#include "tests/ui/timer_event_hook.h"
#include "trend/trend_samples.h"
#include "ui/tform_trend.h"
#include "ui/trend_plot.h"
#include "ui/trend_recorder.h"

namespace {

constexpr int kTestPollPeriodMs = 300;
constexpr int kWaitMs = 5000;

bool holdsColour(const QImage& image, const QColor& colour) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == colour) return true;
    }
  }
  return false;
}

class TrendWindow : public SimulatedWindow {
 protected:
  TrendWindow() : SimulatedWindow(1, sim::SimulatorOptions{}) {
    windows_->formMain().findChild<QTimer*>("TimerIzmer")->setInterval(kTestPollPeriodMs);
  }

  const trend::TrendSamples& samples() const {
    return windows_->formMain().trendRecorder().samples();
  }
  size_t answered() const {
    size_t count = 0;
    for (const trend::Sample& sample : samples().samples()) count += sample.answered ? 1 : 0;
    return count;
  }
};

TEST_F(TrendWindow, OpenedDuringAPollDrawsTheArrivingPointsAndSavesThem) {
  simulator_.instrument().freezeMeasurement({21.5f, 250.0f, 12.0f});
  click("BitBtnIzmerStart");
  click("BitBtnTrend");
  auto* trendWindow = windows_->formMain().findChild<TformTrend*>("TformTrend");
  ASSERT_NE(trendWindow, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(trendWindow));
  EXPECT_EQ(trendWindow->windowTitle(), "Тренд");
  EXPECT_FALSE(trendWindow->isModal());

  ASSERT_TRUE(QTest::qWaitFor([&] { return answered() >= 2; }, kWaitMs));
  const trend::Sample& last = samples().samples().back();
  EXPECT_FLOAT_EQ(last.value(trend::Series::kPhysical), 250.0f);
  EXPECT_FLOAT_EQ(last.value(trend::Series::kColdJunction), 21.5f);
  // The page itself shows the poll as ever.
  EXPECT_FALSE(child<QLabel>("StaticTextIzmerFiz")->text().isEmpty());

  const QImage picture = trendWindow->plot().grab().toImage();
  EXPECT_TRUE(holdsColour(picture, TrendPlot::seriesColor(trend::Series::kPhysical)));
  EXPECT_TRUE(holdsColour(picture, TrendPlot::seriesColor(trend::Series::kColdJunction)));
  // A curve switched off takes its line, its scale and its legend entry along.
  trendWindow->findChild<QCheckBox*>("CheckBoxTrendXC")->click();
  EXPECT_FALSE(holdsColour(trendWindow->plot().grab().toImage(),
                           TrendPlot::seriesColor(trend::Series::kColdJunction)));
  trendWindow->findChild<QCheckBox*>("CheckBoxTrendXC")->click();

  // A silent instrument leaves a gap.
  simulator_.setFault(sim::Fault::kSilent);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !samples().samples().back().answered; }, kWaitMs));

  // A name without a suffix gets the one the dialog's filter shows.
  trendWindow->setFileNameProvider([&] { return dir_.filePath("тренд1"); });
  trendWindow->findChild<QAbstractButton*>("BitBtnTrendSave")->click();
  QFile file(dir_.filePath("тренд1.csv"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
  const QString text = QString::fromUtf8(bytes.mid(3));
  // The header's first cell holds a comma: quoted where "," separates the cells.
  EXPECT_TRUE(text.startsWith(QStringLiteral("Дата,время;")) ||
              text.startsWith(QStringLiteral("\"Дата,время\",")))
      << text.left(40).toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Прибор не отвечает")));
  EXPECT_GE(text.count(QStringLiteral("\r\n")), 4);

  trendWindow->findChild<QAbstractButton*>("BitBtnTrendCopy")->click();
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), trendWindow->plot().size());

  // Its place and size outlast the window.
  trendWindow->resize(640, 330);
  trendWindow->close();
  ProfileFile ini(iniPath());
  EXPECT_EQ(ini.readInteger("TformTrend", "Width", -1), 640);
  EXPECT_EQ(ini.readInteger("TformTrend", "Height", -1), 330);
  EXPECT_TRUE(display_.messages.empty());
}

TEST_F(TrendWindow, AReplyHandedOverLaterThanOnePollPeriodIsLeftOut) {
  // A modal dialog opened while a poll waits for its reply keeps the
  // exchange from taking the reply in; once it closes the reply is old.
  QDateTime heldFrom;
  QDateTime heldUntil;
  TimerEventHook hook([&] {
    if (heldFrom.isValid()) return;
    QTimer::singleShot(10, [&] {
      if (heldFrom.isValid() || !windows_->formMain().link()->busy()) return;
      heldFrom = QDateTime::currentDateTime();
      QEventLoop dialog;
      QTimer::singleShot(2300, &dialog, &QEventLoop::quit);
      dialog.exec();
      heldUntil = QDateTime::currentDateTime();
    });
  });
  windows_->formMain().findChild<QTimer*>("TimerIzmer")->installEventFilter(&hook);
  click("BitBtnIzmerStart");
  ASSERT_TRUE(QTest::qWaitFor([&] { return heldUntil.isValid(); }, kWaitMs));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return !samples().samples().empty() &&
               samples().samples().back().timeMs > heldUntil.toMSecsSinceEpoch();
      },
      kWaitMs))
      << "the polls after it are recorded";
  for (const trend::Sample& sample : samples().samples()) {
    EXPECT_FALSE(sample.timeMs >= heldFrom.toMSecsSinceEpoch() &&
                 sample.timeMs <= heldUntil.toMSecsSinceEpoch() + 120)
        << "a point stamped at " << sample.timeMs << " for a reply that came long before";
  }
}

}  // namespace
