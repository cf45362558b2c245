#include "debug_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/compact_layout.h"
#include "ui/named_controls.h"

namespace {

constexpr QMargins kGroupMargins(5, 5, 5, 5);
constexpr int kRowSpacing = 3;

// The lists accept typing; until an item is chosen they show their own name.
QComboBox* editableList(const char* name, const QStringList& items, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QLatin1String(name));
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->addItems(items);
  list->setCurrentIndex(-1);
  list->setEditText(QLatin1String(name));
  return list;
}

}  // namespace

DebugPage::DebugPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet3"));
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(6);
  layout->addWidget(buildInterface(), 0, 0);
  layout->addWidget(buildModBus(), 0, 1);
  layout->addWidget(buildExchange(), 1, 0, 1, 2);
  layout->setRowStretch(2, 1);
}

QStringList DebugPage::commandItems() {
  return {
      QStringLiteral("01h Читать реле"),      QStringLiteral("02h Читать входа"),
      QStringLiteral("03h Читать настройки"), QStringLiteral("04h Читать данные"),
      QStringLiteral("0Fh Записать реле"),    QStringLiteral("10h Записать настройки"),
  };
}

QGroupBox* DebugPage::buildInterface() {
  auto* group = new QGroupBox(QStringLiteral(" Интерфейс "), this);
  group->setObjectName(QStringLiteral("GroupBoxInterface"));
  auto* grid = compactGrid(group, kGroupMargins, kRowSpacing);

  QStringList ports;
  for (int n = 1; n <= 16; ++n) ports << QStringLiteral("COM%1").arg(n);
  const QStringList bauds = {QStringLiteral("2400"),  QStringLiteral("4800"),
                             QStringLiteral("9600"),  QStringLiteral("19200"),
                             QStringLiteral("38400"), QStringLiteral("57600"),
                             QStringLiteral("115200")};

  addRow(grid, 0, QStringLiteral("Порт"), editableList("cbPort", ports, group));
  addRow(grid, 1, QStringLiteral("Скорость"), editableList("cbBaud", bauds, group));
  addRow(grid, 2, QStringLiteral("Задержка общая, мс"), namedEdit("editZader", QString(), group));
  addRow(grid, 3, QStringLiteral("Задержка на ответ, мс"),
         namedEdit("editZaderMin", QString(), group));
  addRow(grid, 4, QStringLiteral("Задержка обмена, мс"),
         namedEdit("editZaderRx", QString(), group));
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* DebugPage::buildModBus() {
  auto* group = new QGroupBox(QStringLiteral(" ModBus "), this);
  group->setObjectName(QStringLiteral("GroupBoxModBus"));
  auto* grid = compactGrid(group, kGroupMargins, kRowSpacing);

  auto* command = editableList("cbCmd", commandItems(), group);
  command->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  command->setMinimumContentsLength(12);
  addRow(grid, 0, QStringLiteral("Команда"), command);
  addRow(grid, 1, QStringLiteral("Адрес"), namedEdit("editAdr", QString(), group));
  addRow(grid, 2, QStringLiteral("Нач. Адрес"), namedEdit("editAdrReg", QString(), group));
  addRow(grid, 3, QStringLiteral("Количество"), namedEdit("editKolReg", QString(), group));

  auto* help = namedButton("Button1", QStringLiteral("?"), group);
  help->setFixedWidth(28);
  grid->addWidget(help, 0, 2);
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* DebugPage::buildExchange() {
  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("GroupBoxObmen"));
  auto* grid = compactGrid(group, kGroupMargins, kRowSpacing);

  addRow(grid, 0, QStringLiteral("Данные"), namedEdit("EditData", QString(), group));
  addRow(grid, 1, QStringLiteral("Запрос:"), namedEdit("editQuery", QString(), group));
  addRow(grid, 2, QStringLiteral("Ответ:"), namedEdit("editAnswer", QString(), group));
  addRow(grid, 3, QStringLiteral("Пакет"), namedEdit("editObrQwery", QString(), group));

  grid->addWidget(namedButton("btnObmen", QStyle::SP_MediaPlay, QStringLiteral("Обмен"), group), 4,
                  1, Qt::AlignLeft);

  // Decoded fields of a current data reply: time, date, fault word and values.
  const char* const columns[3][4] = {
      {"stSec", "stMin", "stHour", nullptr},
      {"stDayWeek", "stDay", "stMonth", "stYear"},
      {"stFlagError", "stFiz", "stVal", "stXC"},
  };
  auto* fields = new QHBoxLayout;
  fields->setSpacing(6);
  for (const auto& names : columns) {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    for (const char* name : names) {
      if (name == nullptr) break;
      auto* field = staticText(name, QString(), group);
      field->setFrameShape(QFrame::StyledPanel);
      field->setFrameShadow(QFrame::Sunken);
      field->setMinimumHeight(field->fontMetrics().height() + 4);
      column->addWidget(field);
    }
    column->addStretch(1);
    fields->addLayout(column, 1);
  }
  grid->addLayout(fields, 5, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  return group;
}
