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

namespace {

constexpr int kMargin = 5;

QLabel* plainLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

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

QLineEdit* edit(const char* name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QLatin1String(name));
  return field;
}

QGridLayout* groupGrid(QGroupBox* group) {
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  return grid;
}

void addLabelled(QGridLayout* grid, int row, int column, const QString& text, QWidget* field) {
  auto* label = plainLabel(text, field->parentWidget());
  label->setBuddy(field);
  grid->addWidget(label, row, column);
  grid->addWidget(field, row, column + 1);
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
  auto* grid = groupGrid(group);

  QStringList ports;
  for (int n = 1; n <= 16; ++n) ports << QStringLiteral("COM%1").arg(n);
  const QStringList bauds = {QStringLiteral("2400"),  QStringLiteral("4800"),
                             QStringLiteral("9600"),  QStringLiteral("19200"),
                             QStringLiteral("38400"), QStringLiteral("57600"),
                             QStringLiteral("115200")};

  addLabelled(grid, 0, 0, QStringLiteral("Порт"), editableList("cbPort", ports, group));
  addLabelled(grid, 1, 0, QStringLiteral("Скорость"), editableList("cbBaud", bauds, group));
  addLabelled(grid, 2, 0, QStringLiteral("Задержка общая, мс"), edit("editZader", group));
  addLabelled(grid, 3, 0, QStringLiteral("Задержка на ответ, мс"), edit("editZaderMin", group));
  addLabelled(grid, 4, 0, QStringLiteral("Задержка обмена, мс"), edit("editZaderRx", group));
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* DebugPage::buildModBus() {
  auto* group = new QGroupBox(QStringLiteral(" ModBus "), this);
  group->setObjectName(QStringLiteral("GroupBoxModBus"));
  auto* grid = groupGrid(group);

  auto* command = editableList("cbCmd", commandItems(), group);
  command->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  command->setMinimumContentsLength(12);
  addLabelled(grid, 0, 0, QStringLiteral("Команда"), command);
  addLabelled(grid, 1, 0, QStringLiteral("Адрес"), edit("editAdr", group));
  addLabelled(grid, 2, 0, QStringLiteral("Нач. Адрес"), edit("editAdrReg", group));
  addLabelled(grid, 3, 0, QStringLiteral("Количество"), edit("editKolReg", group));

  auto* help = new QPushButton(QStringLiteral("?"), group);
  help->setObjectName(QStringLiteral("Button1"));
  help->setFixedWidth(28);
  grid->addWidget(help, 0, 2);
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* DebugPage::buildExchange() {
  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("GroupBoxObmen"));
  auto* grid = groupGrid(group);

  addLabelled(grid, 0, 0, QStringLiteral("Данные"), edit("EditData", group));
  addLabelled(grid, 1, 0, QStringLiteral("Запрос:"), edit("editQuery", group));
  addLabelled(grid, 2, 0, QStringLiteral("Ответ:"), edit("editAnswer", group));
  addLabelled(grid, 3, 0, QStringLiteral("Пакет"), edit("editObrQwery", group));

  auto* exchange =
      new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay), QStringLiteral("Обмен"), group);
  exchange->setObjectName(QStringLiteral("btnObmen"));
  grid->addWidget(exchange, 4, 1, Qt::AlignLeft);

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
      auto* field = plainLabel(QString(), group);
      field->setObjectName(QLatin1String(name));
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
