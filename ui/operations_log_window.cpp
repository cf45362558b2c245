#include "ui/operations_log_window.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "oplog/log_path.h"
#include "ui/named_controls.h"

namespace {

// The newest lines are what the window is opened for; a log of years stays
// quick to show.
constexpr qint64 kShownBytes = 1 << 20;

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

}  // namespace

OperationsLogWindow::OperationsLogWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window),
      file_(staticText("LabelJournalFile")),
      lines_(new QPlainTextEdit) {
  setObjectName(QStringLiteral("FormJournal"));
  setWindowTitle(QStringLiteral("Журнал записей"));
  resize(760, 420);
  file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lines_->setObjectName(QStringLiteral("MemoJournal"));
  lines_->setReadOnly(true);
  lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  lines_->setFont(fixed);
  // Fields are tab-separated: a few blanks' gap keeps a line on the screen.
  lines_->setTabStopDistance(QFontMetricsF(fixed).horizontalAdvance(u' ') * 3);

  auto* refresh = namedButton("BitBtnJournalRefresh", QStyle::SP_BrowserReload,
                              QStringLiteral("Обновить"), this);
  auto* close = namedButton("BitBtnJournalClose", QStringLiteral("Закрыть"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(file_, 1);
  buttons->addWidget(refresh);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(lines_, 1);
  layout->addLayout(buttons);
  connect(refresh, &QPushButton::clicked, this, &OperationsLogWindow::reload);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void OperationsLogWindow::reload() {
  const auto path = oplog::OperationsLogPath();
  if (!path) {
    file_->clear();
    lines_->setPlainText(QStringLiteral("Журнал не ведётся: не задана папка для него"));
    return;
  }
  QFile file(*path);
  file_->setText(QStringLiteral("Файл: %1").arg(file.fileName()));
  if (!file.exists()) {
    lines_->setPlainText(QStringLiteral("Записей пока нет"));
    return;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    lines_->setPlainText(QStringLiteral("Не удалось прочитать журнал: %1").arg(file.errorString()));
    return;
  }
  lines_->setPlainText(newestFirst(file).join(u'\n'));
}
