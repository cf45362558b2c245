#include "ui/tform_trend.h"

#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QVBoxLayout>

#include "device/message_sink.h"
#include "trend/trend_csv.h"
#include "ui/beside_placement.h"
#include "ui/named_controls.h"
#include "ui/trend_plot.h"
#include "ui/trend_recorder.h"

namespace {

const QString kSection = QStringLiteral("TformTrend");
const QString kCsvFilter = QStringLiteral("CSV (*.csv);;Все файлы (*)");
const QString kCsvSuffix = QStringLiteral(".csv");
constexpr const char* kCannotWriteText = "Не удалось записать файл ";
constexpr int kMissing = -1;
const QSize kDefaultSize(760, 420);

}  // namespace

TformTrend::TformTrend(TrendRecorder& recorder, const QString& settingsPath,
                       device::MessageSink& messages, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window),
      recorder_(recorder),
      settings_(settingsPath),
      messages_(messages) {
  setObjectName(QStringLiteral("TformTrend"));
  setWindowTitle(QStringLiteral("Тренд"));
  plot_ = new TrendPlot(recorder.samples(), this);

  auto* save = namedButton("BitBtnTrendSave", QStyle::SP_DialogSaveButton,
                           QStringLiteral("Сохранить в файл"), this);
  auto* copy = namedButton("BitBtnTrendCopy", QStyle::SP_FileDialogDetailedView,
                           QStringLiteral("Копировать"), this);
  auto* buttons = new QHBoxLayout;
  // Each curve on and off; each has its own scale whatever else is shown.
  const std::pair<const char*, trend::Series> switches[] = {
      {"CheckBoxTrendFiz", trend::Series::kPhysical},
      {"CheckBoxTrendVal", trend::Series::kParameter},
      {"CheckBoxTrendXC", trend::Series::kColdJunction},
  };
  for (const auto& [name, series] : switches) {
    auto* box = namedCheckBox(name, TrendPlot::seriesShortName(series), this);
    box->setToolTip(TrendPlot::seriesName(series));
    QPalette colour = box->palette();
    colour.setColor(QPalette::WindowText, TrendPlot::seriesColor(series));
    colour.setColor(QPalette::ButtonText, TrendPlot::seriesColor(series));
    box->setPalette(colour);
    box->setChecked(plot_->seriesShown(series));
    connect(box, &QCheckBox::toggled, plot_,
            [this, series = series](bool on) { plot_->setSeriesShown(series, on); });
    buttons->addWidget(box);
  }
  buttons->addStretch(1);
  buttons->addWidget(save);
  buttons->addWidget(copy);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(plot_, 1);
  layout->addLayout(buttons);

  connect(save, &QPushButton::clicked, this, &TformTrend::saveToFile);
  connect(copy, &QPushButton::clicked, this, &TformTrend::copyToClipboard);
  // Painted only while shown: a hidden window costs the poll nothing.
  connect(&recorder, &TrendRecorder::changed, plot_, [this] {
    if (isVisible()) plot_->update();
  });
  // A child window is not closed with its parent: its place is stored and it
  // goes when the main window is closed.
  if (mainWindow) mainWindow->installEventFilter(this);
  resize(kDefaultSize);
}

QString TformTrend::askFileName() {
  if (fileName_) return fileName_();
  // The dialog adds the suffix itself, so that its overwrite question is asked
  // about the file that will really be written.
  QFileDialog dialog(this, QStringLiteral("Сохранить в файл"), QString(), kCsvFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(kCsvSuffix.mid(1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

void TformTrend::saveToFile() {
  QString path = askFileName();
  if (path.isEmpty()) return;
  // The dialog's own filter would hide a file without it.
  if (QFileInfo(path).suffix().isEmpty()) path += kCsvSuffix;
  const QByteArray bytes = QByteArray::fromStdString(
      trend::EncodeTrendCsv(recorder_.samples(), QLocale::system().decimalPoint().toStdString()));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    messages_.error(kCannotWriteText + path.toStdString());
}

void TformTrend::copyToClipboard() {
  QGuiApplication::clipboard()->setImage(plot_->grab().toImage());
}

void TformTrend::showEvent(QShowEvent* event) {
  if (!restored_) {
    restored_ = true;
    restoreGeometry();
  }
  plot_->update();
  QWidget::showEvent(event);
}

void TformTrend::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) storeGeometry();
  QWidget::hideEvent(event);
}

bool TformTrend::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Close && isVisible()) close();
  return QWidget::eventFilter(watched, event);
}

// A stored place is taken only when its size is at least the window's least
// and the window's middle lies on a screen: a screen removed since then must
// not hide the window.
void TformTrend::restoreGeometry() {
  const QRect stored(settings_.readInteger(kSection, QStringLiteral("Left"), kMissing),
                     settings_.readInteger(kSection, QStringLiteral("Top"), kMissing),
                     settings_.readInteger(kSection, QStringLiteral("Width"), kMissing),
                     settings_.readInteger(kSection, QStringLiteral("Height"), kMissing));
  const QSize least = minimumSizeHint();
  if (stored.width() >= least.width() && stored.height() >= least.height() &&
      QGuiApplication::screenAt(stored.center())) {
    resize(stored.size());
    move(stored.topLeft());
    return;
  }
  const QWidget* main = parentWidget();
  const QScreen* screen = main ? main->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  if (!main) {
    move(screen->availableGeometry().center() - rect().center());
    return;
  }
  // The window manager's frame, as the main window has it.
  const QSize frame = main->frameGeometry().size() - main->size();
  const QRect place =
      PlaceBeside(main->frameGeometry(), size() + frame, minimumSizeHint().width() + frame.width(),
                  screen->availableGeometry());
  resize(place.size() - frame);
  move(place.topLeft());
}

// The place is a convenience: a settings file that cannot be written costs
// only that, so the failure is not shown.
void TformTrend::storeGeometry() {
  const QRect place(pos(), size());
  try {
    settings_.writeInteger(kSection, QStringLiteral("Left"), place.left());
    settings_.writeInteger(kSection, QStringLiteral("Top"), place.top());
    settings_.writeInteger(kSection, QStringLiteral("Width"), place.width());
    settings_.writeInteger(kSection, QStringLiteral("Height"), place.height());
  } catch (const ProfileFile::WriteError&) {
  }
}
