#include "ui/tform_scan.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/beside_placement.h"
#include "ui/named_controls.h"

namespace {

enum Column { kAddress, kType, kSerial, kVersion, kColumnCount };
const QSize kDefaultSize(400, 320);

QTableWidgetItem* cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

}  // namespace

TformScan::TformScan(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
  setObjectName(QStringLiteral("TformScan"));
  setWindowTitle(QStringLiteral("Сканирование линии"));

  grid_ = new QTableWidget(0, kColumnCount, this);
  grid_->setObjectName(QStringLiteral("StringGridScan"));
  grid_->setHorizontalHeaderLabels({QStringLiteral("Адрес"), QStringLiteral("Тип прибора"),
                                    QStringLiteral("Серийный номер"), QStringLiteral("Версия")});
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->verticalHeader()->hide();
  // Every header whole, however narrow the window is made.
  QHeaderView* header = grid_->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(kVersion, QHeaderView::Stretch);
  // Measured with the style and font the header will be shown in.
  header->ensurePolished();
  int headerWidth = 0;
  for (int column = 0; column < kColumnCount; ++column)
    headerWidth += header->sectionSizeHint(column);
  // Room for a vertical scroll bar too, once more units than rows answered.
  grid_->setMinimumWidth(headerWidth + 2 * grid_->frameWidth() +
                         grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + kColumnCount);
  grid_->setToolTip(QStringLiteral("Двойной щелчок по строке ставит её адрес в «Адрес прибора»"));

  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ProgressBarScan"));
  state_ = staticText("StaticTextScan", QString(), this);
  stop_ = namedButton("BitBtnStopScan", QStyle::SP_BrowserStop, QStringLiteral("Остановить"), this);
  stop_->setEnabled(false);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(state_, 1);
  bottom->addWidget(stop_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(grid_, 1);
  layout->addWidget(progress_);
  layout->addLayout(bottom);

  connect(stop_, &QPushButton::clicked, this, &TformScan::requestStop);
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (const QTableWidgetItem* item = grid_->item(row, kAddress))
      emit addressChosen(item->text().toInt());
  });
  resize(kDefaultSize);
}

void TformScan::scan(device::RegisterLink& link, device::OperationControls& controls,
                     device::MessageSink& messages) {
  grid_->setRowCount(0);
  range_ = {};
  lastTried_ = range_.first - 1;
  stopRequested_ = false;
  progress_->setRange(0, range_.last - range_.first + 1);
  progress_->setValue(0);
  progress_->setFormat(QStringLiteral("%v из %m"));
  state_->setText(QStringLiteral("Опрос адресов %1…%2").arg(range_.first).arg(range_.last));
  show();
  raise();
  stop_->setEnabled(true);
  const device::ScanOutcome outcome = device::ScanLine(link, controls, range_, *this, messages);
  stop_->setEnabled(false);
  progress_->setFormat(QStringLiteral("%v из %m"));
  showOutcome(outcome);
}

void TformScan::trying(int address) {
  lastTried_ = address;
  progress_->setValue(address - range_.first + 1);
  progress_->setFormat(QStringLiteral("Адрес %1 (%v из %m)").arg(address));
}

void TformScan::found(const device::ScannedUnit& unit) {
  const int row = grid_->rowCount();
  grid_->insertRow(row);
  grid_->setItem(row, kAddress, cell(QString::number(unit.address)));
  grid_->setItem(row, kType, cell(QString::fromStdString(unit.texts.type)));
  grid_->setItem(row, kSerial, cell(QString::fromStdString(unit.texts.serial)));
  grid_->setItem(row, kVersion, cell(QString::fromStdString(unit.texts.version)));
}

void TformScan::showOutcome(device::ScanOutcome outcome) {
  const int units = grid_->rowCount();
  const QString count = QStringLiteral("найдено приборов: %1").arg(units);
  switch (outcome) {
    case device::ScanOutcome::kNotStarted:
      break;
    case device::ScanOutcome::kPortError:
      state_->setText(QStringLiteral("Не удалось начать: порт не открыт"));
      break;
    case device::ScanOutcome::kFound:
      state_->setText(QStringLiteral("Готово, ") + count);
      break;
    case device::ScanOutcome::kNoneAnswered:
      state_->setText(QStringLiteral("Ни один прибор не ответил на адресах %1…%2")
                          .arg(range_.first)
                          .arg(range_.last));
      break;
    case device::ScanOutcome::kCancelled:
      state_->setText(QStringLiteral("Остановлено на адресе %1, ").arg(lastTried_) + count);
      break;
    case device::ScanOutcome::kLineFailed:
      state_->setText(QStringLiteral("Прервано на адресе %1: порт отказал, ").arg(lastTried_) +
                      count);
      break;
  }
}

void TformScan::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    if (const QWidget* main = parentWidget(); main && main->screen()) {
      // The window manager's frame, as the main window has it.
      const QSize frame = main->frameGeometry().size() - main->size();
      const QRect place = PlaceBeside(main->frameGeometry(), size() + frame,
                                      minimumSizeHint().width() + frame.width(),
                                      main->screen()->availableGeometry());
      resize(place.size() - frame);
      move(place.topLeft());
    }
  }
  QWidget::showEvent(event);
}

void TformScan::closeEvent(QCloseEvent* event) {
  requestStop();
  QWidget::closeEvent(event);
}
