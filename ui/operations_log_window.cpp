#include "ui/operations_log_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "oplog/log_path.h"
#include "ui/named_controls.h"

namespace {

// The newest lines are what the window is opened for; a log of years stays
// quick to show.
constexpr qint64 kShownBytes = 1 << 20;

// The line's fields in the order of the file, and the column each is shown
// in: the outcome before the long list of requests, so that it is seen
// without scrolling.
constexpr int kFields = 8;
constexpr int kColumnOfField[kFields] = {0, 1, 2, 3, 4, 5, 7, 6};
const char* const kHeaders[kFields] = {"Время",  "Программа", "Порт", "Адрес",
                                       "Прибор", "Операция",  "Итог", "Запросы"};
constexpr int kRequestsColumn = 7;

QStringList newestFirst(QFile& file) {
  const qint64 size = file.size();
  const bool cut = size > kShownBytes;
  if (cut) file.seek(size - kShownBytes);
  QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
  // Reading from the middle of the file starts inside a line.
  if (cut && !lines.isEmpty()) lines.removeFirst();
  std::reverse(lines.begin(), lines.end());
  return lines;
}

QTableWidgetItem* cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

OperationsLogWindow::OperationsLogWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window),
      file_(staticText("LabelJournalFile")),
      grid_(new QTableWidget(0, kFields)) {
  setObjectName(QStringLiteral("FormJournal"));
  setWindowTitle(QStringLiteral("Журнал записей"));
  resize(960, 420);
  file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid_->setObjectName(QStringLiteral("StringGridJournal"));
  QStringList headers;
  for (const char* header : kHeaders) headers << QString::fromUtf8(header);
  grid_->setHorizontalHeaderLabels(headers);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setWordWrap(false);

  auto* refresh = namedButton("BitBtnJournalRefresh", QStyle::SP_BrowserReload,
                              QStringLiteral("Обновить"), this);
  auto* close = namedButton("BitBtnJournalClose", QStringLiteral("Закрыть"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(file_, 1);
  buttons->addWidget(refresh);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);
  connect(refresh, &QPushButton::clicked, this, &OperationsLogWindow::reload);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void OperationsLogWindow::reload() {
  const auto path = oplog::OperationsLogPath();
  if (!path) {
    file_->clear();
    showNote(QStringLiteral("Журнал не ведётся: не задана папка для него"));
    return;
  }
  QFile file(*path);
  file_->setText(QStringLiteral("Файл: %1").arg(file.fileName()));
  if (!file.exists()) {
    showNote(QStringLiteral("Записей пока нет"));
    return;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    showNote(QStringLiteral("Не удалось прочитать журнал: %1").arg(file.errorString()));
    return;
  }
  showLines(newestFirst(file));
}

// A line of another form keeps what it has: the fields it has in their
// columns, anything past the last field with the requests.
void OperationsLogWindow::showLines(const QStringList& lines) {
  grid_->setRowCount(0);
  grid_->setRowCount(static_cast<int>(lines.size()));
  for (int row = 0; row < lines.size(); ++row) {
    QStringList fields = lines[row].split(u'\t');
    if (fields.size() > kFields) fields[kFields - 1] = fields.mid(kFields - 1).join(u'\t');
    for (int f = 0; f < std::min<int>(kFields, fields.size()); ++f) {
      QTableWidgetItem* item = cell(fields[f]);
      if (kColumnOfField[f] == kRequestsColumn)
        item->setToolTip(fields[f].split(QStringLiteral("; ")).join(u'\n'));
      grid_->setItem(row, kColumnOfField[f], item);
    }
  }
  grid_->resizeColumnsToContents();
}

void OperationsLogWindow::showNote(const QString& note) {
  grid_->setRowCount(0);
  grid_->setRowCount(1);
  grid_->setItem(0, 0, cell(note));
  grid_->resizeColumnsToContents();
}
