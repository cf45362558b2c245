#include "ui/tform_trend.h"

#include <QClipboard>
#include <QEvent>
#include <QFileDialog>
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
#include "ui/named_controls.h"
#include "ui/trend_plot.h"
#include "ui/trend_recorder.h"

namespace {

const QString kSection = QStringLiteral("TformTrend");
const QString kCsvFilter = QStringLiteral("CSV (*.csv);;Все файлы (*)");
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

void TformTrend::saveToFile() {
  const QString path = fileName_
                           ? fileName_()
                           : QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить в файл"),
                                                          QString(), kCsvFilter);
  if (path.isEmpty()) return;
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
  if (const QScreen* screen =
          parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
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
