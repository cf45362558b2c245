#include "archive_page.h"

#include <QAbstractItemView>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "device/csv_text.h"
#include "device/message_sink.h"
#include "ui/named_controls.h"

namespace {

constexpr qreal kGridFontScale = 0.75;
const QString kCsvFilter = QStringLiteral("CSV (*.csv);;Все файлы (*)");
const QString kCsvSuffix = QStringLiteral(".csv");
constexpr const char* kCannotWriteText = "Не удалось записать файл ";
constexpr const char* kCannotReadText = "Не удалось прочитать файл ";
constexpr const char* kNotArchiveText = "Файл не является таблицей архива: ";

}  // namespace

ArchivePage::ArchivePage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet6"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(6);
  layout->addWidget(buildReadGroup());
  layout->addWidget(buildGrid(), 1);
  layout->addWidget(buildFileButtons());

  // Record navigation was never offered to the user; the buttons exist but stay hidden.
  const struct {
    const char* name;
    const char* caption;
  } kHidden[] = {
      {"ButtonLast", "Последняя запись"},
      {"ButtonPrevious", "Предыдущая запись"},
      {"ButtonNext", "Следующая запись"},
      {"ButtonFirst", "Первая запись"},
  };
  for (const auto& hidden : kHidden)
    namedButton(hidden.name, QString::fromUtf8(hidden.caption), this)->hide();
}

QWidget* ArchivePage::buildReadGroup() {
  auto* group = new QGroupBox(QStringLiteral(" Чтение записей архива "), this);
  group->setObjectName(QStringLiteral("GroupBoxArh"));
  auto* row = new QHBoxLayout(group);
  row->setContentsMargins(6, 4, 6, 6);
  row->setSpacing(6);

  auto* count = count_ = namedEdit("EditColZap", QStringLiteral("20"), group);
  count->setMaximumWidth(60);
  auto* label = plainLabel(QStringLiteral("Считать записей:"), group);
  label->setBuddy(count);

  row->addWidget(label);
  row->addWidget(count);
  row->addSpacing(12);
  row->addWidget(
      namedButton("BitBtnReadArh", QStyle::SP_BrowserReload, QStringLiteral("Читать"), group));
  row->addWidget(namedButton("BitBtnCancelReadArh", QStyle::SP_DialogCancelButton,
                             QStringLiteral("Отменить"), group));
  row->addStretch(1);
  return group;
}

QWidget* ArchivePage::buildGrid() {
  // Row 0 of the grid is the horizontal header; column 0 holds the record numbers. The grid
  // only shows what was read, so no cell is editable.
  auto* grid = grid_ = new QTableWidget(1, kGridColumns, this);
  grid->setObjectName(QStringLiteral("StringGridArh"));
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  grid->setWordWrap(false);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setMinimumSectionSize(kGridRowHeight);
  grid->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setDefaultSectionSize(kGridDefaultColumnWidth);
  grid->horizontalHeader()->setHighlightSections(false);
  // The date and time of a record ("05.03.24 14:07:09") must fit the 100 pixels of its
  // column and the rows their 16 pixels: a smaller face than the window's. The two blanks
  // that end the text are cut off rather than eliding the seconds.
  QFont font = grid->font();
  font.setPointSizeF(font.pointSizeF() * kGridFontScale);
  grid->setFont(font);
  grid->horizontalHeader()->setFont(font);
  grid->setTextElideMode(Qt::ElideNone);
  QStringList blankHeader;
  for (int column = 0; column < kGridColumns; ++column) blankHeader << QString();
  grid->setHorizontalHeaderLabels(blankHeader);
  return grid;
}

QWidget* ArchivePage::buildFileButtons() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  row->addWidget(
      namedButton("BitBtn4", QStyle::SP_DialogSaveButton, QStringLiteral("Сохранить в файл"), box));
  row->addWidget(namedButton("BitBtn5", QStyle::SP_DialogOpenButton,
                             QStringLiteral("Загрузить из файла"), box));
  row->addStretch(1);
  return box;
}

std::string ArchivePage::recordCountText() const { return count_->text().toStdString(); }

// The grid's header row is the table's header, so record k is table row k - 1.
void ArchivePage::setRecordRows(int records) { grid_->setRowCount(records); }

void ArchivePage::clearRecordRow(int row) {
  for (int column = 0; column < kGridColumns; ++column) setCell(row - 1, column, QString());
}

void ArchivePage::showRecord(int row, const device::ArchiveRowTexts& texts) {
  setCell(row - 1, 0, QString::number(row));
  for (size_t i = 0; i < texts.size(); ++i) {
    setCell(row - 1, static_cast<int>(i) + 1, QString::fromStdString(texts[i]));
  }
}

void ArchivePage::setCell(int row, int column, const QString& text) {
  if (auto* item = grid_->item(row, column)) {
    item->setText(text);
  } else if (!text.isEmpty()) {
    grid_->setItem(row, column, new QTableWidgetItem(text));
  }
}

QString ArchivePage::askFileName(FileAction action) {
  if (fileName_) return fileName_(action);
  if (action == FileAction::kLoad)
    return QFileDialog::getOpenFileName(this, QStringLiteral("Загрузить из файла"), QString(),
                                        kCsvFilter);
  // The dialog adds the suffix itself, so that its overwrite question is asked
  // about the file that will really be written.
  QFileDialog dialog(this, QStringLiteral("Сохранить в файл"), QString(), kCsvFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(kCsvSuffix.mid(1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

device::ArchiveGrid ArchivePage::grid() const {
  device::ArchiveGrid grid;
  for (int column = 0; column < kGridColumns; ++column) {
    if (const QTableWidgetItem* item = grid_->horizontalHeaderItem(column))
      grid.header[column] = item->text().toStdString();
  }
  // Rows a read did not reach (after a cancel or a failure) hold no record and are left out.
  for (int row = 0; row < grid_->rowCount(); ++row) {
    device::ArchiveGridRow cells;
    bool holdsText = false;
    for (int column = 0; column < kGridColumns; ++column) {
      if (const QTableWidgetItem* item = grid_->item(row, column)) {
        cells[column] = item->text().toStdString();
        holdsText = holdsText || !item->text().isEmpty();
      }
    }
    if (holdsText) grid.rows.push_back(std::move(cells));
  }
  return grid;
}

// The grid keeps its own header: the file's is only its first row.
void ArchivePage::showGrid(const device::ArchiveGrid& grid) {
  grid_->setRowCount(static_cast<int>(grid.rows.size()));
  for (int row = 0; row < grid_->rowCount(); ++row) {
    for (int column = 0; column < kGridColumns; ++column)
      setCell(row, column, QString::fromStdString(grid.rows[row][column]));
  }
}

void ArchivePage::saveToFile(device::MessageSink& messages) {
  QString path = askFileName(FileAction::kSave);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += kCsvSuffix;
  const QByteArray bytes = QByteArray::fromStdString(device::EncodeArchiveCsv(
      grid(), device::CsvListSeparator(QLocale::system().decimalPoint().toStdString())));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    messages.error(kCannotWriteText + path.toStdString());
}

void ArchivePage::loadFromFile(device::MessageSink& messages) {
  const QString path = askFileName(FileAction::kLoad);
  if (path.isEmpty()) return;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    messages.error(kCannotReadText + path.toStdString());
    return;
  }
  const auto grid = device::DecodeArchiveCsv(file.readAll().toStdString());
  if (!grid) {
    messages.error(kNotArchiveText + path.toStdString());
    return;
  }
  showGrid(*grid);
}
