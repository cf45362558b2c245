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
#include <limits>

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

  port_ = editableList("cbPort", ports, group);
  baud_ = editableList("cbBaud", bauds, group);
  overallLimit_ = namedEdit("editZader", QString(), group);
  responseDelay_ = namedEdit("editZaderMin", QString(), group);
  exchangeDelay_ = namedEdit("editZaderRx", QString(), group);
  addRow(grid, 0, QStringLiteral("Порт"), port_);
  addRow(grid, 1, QStringLiteral("Скорость"), baud_);
  addRow(grid, 2, QStringLiteral("Задержка общая, мс"), overallLimit_);
  addRow(grid, 3, QStringLiteral("Задержка на ответ, мс"), responseDelay_);
  addRow(grid, 4, QStringLiteral("Задержка обмена, мс"), exchangeDelay_);
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* DebugPage::buildModBus() {
  auto* group = new QGroupBox(QStringLiteral(" ModBus "), this);
  group->setObjectName(QStringLiteral("GroupBoxModBus"));
  auto* grid = compactGrid(group, kGroupMargins, kRowSpacing);

  command_ = editableList("cbCmd", commandItems(), group);
  // An editable list narrower than its text scrolls it to the end and hides the command's code.
  command_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  address_ = namedEdit("editAdr", QString(), group);
  start_ = namedEdit("editAdrReg", QString(), group);
  count_ = namedEdit("editKolReg", QString(), group);
  addRow(grid, 0, QStringLiteral("Команда"), command_);
  addRow(grid, 1, QStringLiteral("Адрес"), address_);
  addRow(grid, 2, QStringLiteral("Нач. Адрес"), start_);
  addRow(grid, 3, QStringLiteral("Количество"), count_);

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

  data_ = namedEdit("EditData", QString(), group);
  query_ = namedEdit("editQuery", QString(), group);
  answer_ = namedEdit("editAnswer", QString(), group);
  // A dump takes three characters a byte: Qt's default limit of 32767
  // would cut any reply longer than 10,922 bytes.
  for (QLineEdit* dump : {query_, answer_}) dump->setMaxLength(std::numeric_limits<int>::max());
  result_ = namedEdit("editObrQwery", QString(), group);
  addRow(grid, 0, QStringLiteral("Данные"), data_);
  addRow(grid, 1, QStringLiteral("Запрос:"), query_);
  addRow(grid, 2, QStringLiteral("Ответ:"), answer_);
  addRow(grid, 3, QStringLiteral("Пакет"), result_);

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

  // In the order of device::DebugDataTexts.
  const char* const order[] = {"stSec",  "stMin",       "stHour", "stDayWeek", "stDay", "stMonth",
                               "stYear", "stFlagError", "stXC",   "stFiz",     "stVal"};
  for (size_t i = 0; i < dataFields_.size(); ++i)
    dataFields_[i] = group->findChild<QLabel*>(QLatin1String(order[i]));
  return group;
}

device::DebugExchangeForm DebugPage::exchangeForm() const {
  const auto text = [](const QLineEdit* field) { return field->text().toStdString(); };
  device::DebugExchangeForm form;
  form.portIndex = port_->currentIndex();
  form.baudIndex = baud_->currentIndex();
  form.overallLimit = text(overallLimit_);
  form.responseDelay = text(responseDelay_);
  form.exchangeDelay = text(exchangeDelay_);
  form.commandIndex = command_->currentIndex();
  form.address = text(address_);
  form.start = text(start_);
  form.count = text(count_);
  form.data = text(data_);
  return form;
}

void DebugPage::clearExchangeFields() {
  result_->clear();
  query_->clear();
  answer_->clear();
}

void DebugPage::showResultDump(const std::string& hexDump) {
  result_->setText(QString::fromLatin1(hexDump.data(), static_cast<qsizetype>(hexDump.size())));
}

void DebugPage::showDataTexts(const device::DebugDataTexts& texts) {
  const std::string* const values[] = {&texts.seconds,   &texts.minutes,   &texts.hours,
                                       &texts.dayOfWeek, &texts.day,       &texts.month,
                                       &texts.year,      &texts.faultWord, &texts.coldJunction,
                                       &texts.physical,  &texts.parameter};
  for (size_t i = 0; i < dataFields_.size(); ++i)
    dataFields_[i]->setText(QString::fromStdString(*values[i]));
}
