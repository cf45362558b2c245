#include "ui/general_settings_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "device/general_settings_lists.h"
#include "ui/compact_layout.h"
#include "ui/named_controls.h"
#include "ui/time_separator.h"

namespace {

// QLineEdit's limit cuts a text set by the program as well as a typed one, so each limit fits
// every value its field is given: the address and the periods are bytes, 0 to 255, which two
// characters would show as 25 and write back so.
constexpr int kByteDigits = 3;
// -9 to 9; the clock read leaves the correction as it is.
constexpr int kCorrectionDigits = 2;

QLineEdit* shortEdit(QAnyStringView name, int maxLength) {
  auto* field = namedEdit(name);
  field->setMaxLength(maxLength);
  field->setMaximumWidth(60);
  return field;
}

QComboBox* compactList(QAnyStringView name, const QStringList& items) {
  auto* combo = selectionList(name, items);
  // Sized for its typical item rather than the longest one; the popup shows
  // every item in full.
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo->setMinimumContentsLength(10);
  return combo;
}

template <size_t N>
QStringList listItems(const std::array<std::string_view, N>& names) {
  QStringList items;
  for (const std::string_view name : names)
    items << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  return items;
}

constexpr QMargins kBoxMargins(6, 4, 6, 6);
constexpr int kRowSpacing = 3;

QGroupBox* identificationBox() {
  auto* box = new QGroupBox(QStringLiteral(" Информация о приборе "));
  box->setObjectName(QStringLiteral("GroupBox3"));
  auto* grid = compactGrid(box, kBoxMargins, kRowSpacing);
  addRow(grid, 0, QStringLiteral("Тип прибора:"), staticText(QStringLiteral("statictextPribCode")));
  addRow(grid, 1, QStringLiteral("Версия:"), staticText(QStringLiteral("statictextPribVer")));
  addRow(grid, 2, QStringLiteral("Дата изготовления:"),
         staticText(QStringLiteral("statictextDatePrib")));
  addRow(grid, 3, QStringLiteral("Серийный номер:"),
         staticText(QStringLiteral("statictextPribSerial")));
  grid->setColumnStretch(1, 1);
  return box;
}

QGroupBox* generalSettingsBox() {
  auto* box = new QGroupBox(QStringLiteral(" Общие настройки прибора "));
  box->setObjectName(QStringLiteral("GroupBox4"));
  auto* grid = compactGrid(box, kBoxMargins, kRowSpacing);
  addRow(grid, 0, QStringLiteral("Адрес  в сети:"),
         shortEdit(QStringLiteral("EditPribAdr"), kByteDigits));
  addRow(grid, 1, QStringLiteral("Тип протокола:"),
         compactList(QStringLiteral("comboboxProtocol"), listItems(device::kProtocolNames)));
  addRow(grid, 2, QStringLiteral("Скорость:"),
         compactList(QStringLiteral("comboboxBaud"), listItems(device::kBaudNames)));
  addRow(grid, 3, QStringLiteral("Тип входного сигнала:"),
         compactList(QStringLiteral("comboboxTypeGrad"), listItems(device::kInputTypeNames)));
  addRow(grid, 4, QStringLiteral("Период фильтрации:"),
         shortEdit(QStringLiteral("editPeriodFiltr"), kByteDigits));
  addRow(grid, 5, QStringLiteral("Период архивирования:"),
         shortEdit(QStringLiteral("editPeriodArh"), kByteDigits));

  const std::pair<const char*, QString> switches[] = {
      {"CheckBoxFlagCanSqr", QStringLiteral("Включить функцию корнеизвлечения")},
      {"CheckBoxFlagCanXC", QStringLiteral("Включить компенсацию ХС")},
      {"CheckBoxFlagCanPreobrY", QStringLiteral("Включить масштабирование")},
      {"CheckBoxFlagCanIout", QStringLiteral("Включить выходной ток")},
  };
  int row = 6;
  for (const auto& [name, caption] : switches) {
    grid->addWidget(namedCheckBox(name, caption), row++, 0, 1, 2);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(
      namedButton(QStringLiteral("buttonReadNastrPrib"), QStringLiteral("Считать из прибора")));
  buttons->addWidget(namedButton(QStringLiteral("BitBtnWriteNastrPrib"),
                                 QStyle::SP_DialogSaveButton, QStringLiteral("Записать в прибор")));
  grid->setRowStretch(row, 1);
  grid->addLayout(buttons, row + 1, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  return box;
}

void useInfoBackground(QWidget* field) {
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
  palette.setColor(QPalette::Button, palette.color(QPalette::ToolTipBase));
  field->setPalette(palette);
}

QGroupBox* clockBox() {
  auto* box = new QGroupBox(QStringLiteral(" Установка времени и даты "));
  box->setObjectName(QStringLiteral("GroupBox11"));
  auto* grid = compactGrid(box, kBoxMargins, kRowSpacing);

  addRow(grid, 0, QStringLiteral("Текущая дата:"),
         staticText(QStringLiteral("statictextDateNow"), QStringLiteral("24.24.24")));
  addRow(grid, 1, QStringLiteral("Текущее время:"),
         staticText(QStringLiteral("statictextTimeNow"), QStringLiteral("60:60:60")));
  addRow(grid, 2, QStringLiteral("День недели:"),
         staticText(QStringLiteral("StaticTextDayWeekNow")));

  auto* copy = namedButton(QStringLiteral("btnCopyTime"), QStringLiteral(">>"));
  copy->setToolTip(QStringLiteral("Скопировать дату и время"));
  copy->setFixedWidth(36);
  grid->addWidget(copy, 0, 2, 3, 1, Qt::AlignCenter);

  // Qt's "0" is the optional digit (its "9" would be a required one); the
  // literals stay part of the text, an empty position shows "_".
  auto* date = namedEdit(QStringLiteral("MaskEdit_DataProc"));
  date->setInputMask(QStringLiteral("00.00.00;_"));
  auto* time = namedEdit(QStringLiteral("MaskEdit_TimeProc"));
  // Escaped, so that a separator that is also a mask character stays literal.
  const QString literal = QStringLiteral("\\") + timeSeparator();
  time->setInputMask(QStringLiteral("00") + literal + QStringLiteral("00") + literal +
                     QStringLiteral("00;_"));
  auto* dayWeek = compactList(
      QStringLiteral("ComboBoxDayWeek"),
      {QStringLiteral("Пн."), QStringLiteral("Вт."), QStringLiteral("Ср."), QStringLiteral("Чт."),
       QStringLiteral("Пт."), QStringLiteral("Сб."), QStringLiteral("Вс.")});
  auto* correct = shortEdit(QStringLiteral("EditCorrect"), kCorrectionDigits);
  correct->setText(QStringLiteral("0"));
  for (QWidget* field : {static_cast<QWidget*>(date), static_cast<QWidget*>(time),
                         static_cast<QWidget*>(dayWeek), static_cast<QWidget*>(correct)}) {
    useInfoBackground(field);
  }

  auto* device = new QGridLayout;
  device->setVerticalSpacing(3);
  addRow(device, 0, QStringLiteral("Дата:"), date);
  addRow(device, 1, QStringLiteral("Время:"), time);
  addRow(device, 2, QStringLiteral("День недели:"), dayWeek);
  addRow(device, 3, QStringLiteral("Коррекция:"), correct);
  grid->addLayout(device, 3, 0, 1, 3);

  grid->addWidget(
      namedButton(QStringLiteral("btnReadDataTime"), QStringLiteral("Считать из прибора")), 4, 0, 1,
      3);
  grid->addWidget(
      namedButton(QStringLiteral("btnWriteDataTime"), QStringLiteral("Записать в прибор")), 5, 0, 1,
      3);
  grid->setColumnStretch(1, 1);
  return box;
}

// The instrument's whole configuration (these settings, the setpoints and the
// calibration coefficients) and a file. Two to a row: three captions this
// long do not fit side by side.
QGroupBox* configurationBox() {
  auto* box = new QGroupBox(QStringLiteral(" Конфигурация прибора "));
  box->setObjectName(QStringLiteral("GroupBoxConfig"));
  auto* grid = compactGrid(box, kBoxMargins, kRowSpacing);
  grid->addWidget(namedButton(QStringLiteral("BitBtnSaveConfig"), QStyle::SP_DialogSaveButton,
                              QStringLiteral("Сохранить конфигурацию…")),
                  0, 0);
  grid->addWidget(namedButton(QStringLiteral("BitBtnLoadConfig"), QStyle::SP_DialogOpenButton,
                              QStringLiteral("Загрузить конфигурацию…")),
                  0, 1);
  grid->addWidget(
      namedButton(QStringLiteral("BitBtnCompareConfig"), QStyle::SP_FileDialogContentsView,
                  QStringLiteral("Сравнить с файлом…")),
      1, 0);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  return box;
}

}  // namespace

void GeneralSettingsPage::buildLayout() {
  setObjectName(QStringLiteral("TabSheet1"));
  auto* right = new QVBoxLayout;
  right->setSpacing(4);
  right->addWidget(identificationBox());
  right->addWidget(clockBox());
  right->addStretch(1);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(4, 4, 4, 4);
  page->setSpacing(4);
  auto* columns = new QHBoxLayout;
  columns->setSpacing(4);
  auto* left = new QVBoxLayout;
  auto* settings = generalSettingsBox();
  // The settings group needs its labels and the widest list item in full;
  // identification and clock take the rest of the page.
  settings->setFixedWidth(310);
  left->addWidget(settings);
  left->addStretch(1);
  columns->addLayout(left);
  columns->addLayout(right, 1);
  page->addLayout(columns, 1);
  page->addWidget(configurationBox());
}

namespace {

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

// The mask's blank character marks an empty position.
constexpr QChar kMaskBlank = u'_';

// A mask field's text as the clock operations read it: literals kept, an
// empty position as a blank.
std::string maskFieldText(const QLineEdit& field) {
  QString text = field.displayText();
  text.replace(kMaskBlank, u' ');
  return text.toStdString();
}

template <typename T>
T* namedChild(const QWidget& page, const char* name) {
  return page.findChild<T*>(QLatin1String(name));
}

}  // namespace

GeneralSettingsPage::GeneralSettingsPage(QWidget* parent) : QWidget(parent) {
  buildLayout();
  address_ = namedChild<QLineEdit>(*this, "EditPribAdr");
  protocol_ = namedChild<QComboBox>(*this, "comboboxProtocol");
  baud_ = namedChild<QComboBox>(*this, "comboboxBaud");
  inputType_ = namedChild<QComboBox>(*this, "comboboxTypeGrad");
  filterPeriod_ = namedChild<QLineEdit>(*this, "editPeriodFiltr");
  archivePeriod_ = namedChild<QLineEdit>(*this, "editPeriodArh");
  squareRoot_ = namedChild<QCheckBox>(*this, "CheckBoxFlagCanSqr");
  coldJunction_ = namedChild<QCheckBox>(*this, "CheckBoxFlagCanXC");
  scaling_ = namedChild<QCheckBox>(*this, "CheckBoxFlagCanPreobrY");
  outputCurrent_ = namedChild<QCheckBox>(*this, "CheckBoxFlagCanIout");
  dateNow_ = namedChild<QLabel>(*this, "statictextDateNow");
  timeNow_ = namedChild<QLabel>(*this, "statictextTimeNow");
  dayWeekNow_ = namedChild<QLabel>(*this, "StaticTextDayWeekNow");
  date_ = namedChild<QLineEdit>(*this, "MaskEdit_DataProc");
  time_ = namedChild<QLineEdit>(*this, "MaskEdit_TimeProc");
  dayWeek_ = namedChild<QComboBox>(*this, "ComboBoxDayWeek");
  correct_ = namedChild<QLineEdit>(*this, "EditCorrect");
}

void GeneralSettingsPage::showPcClock(const QDateTime& now) {
  const QDate date = now.date();
  const QTime time = now.time();
  const auto texts = device::FormatPcClock(date.year(), date.month(), date.day(), time.hour(),
                                           time.minute(), time.second(), date.dayOfWeek());
  dayWeekNow_->setText(fromUtf8(texts.dayOfWeek));
  timeNow_->setText(fromUtf8(texts.time));
  dateNow_->setText(fromUtf8(texts.date));
}

void GeneralSettingsPage::copyPcClock() {
  showClock(device::CopyPcClock({dateNow_->text().toStdString(), timeNow_->text().toStdString(),
                                 dayWeekNow_->text().toStdString()},
                                clockForm()));
}

device::GeneralSettingsForm GeneralSettingsPage::settingsForm() const {
  device::GeneralSettingsForm form;
  form.address = address_->text().toStdString();
  form.baudIndex = baud_->currentIndex();
  form.protocolIndex = protocol_->currentIndex();
  form.inputTypeIndex = inputType_->currentIndex();
  form.filterPeriod = filterPeriod_->text().toStdString();
  form.archivePeriod = archivePeriod_->text().toStdString();
  form.squareRoot = squareRoot_->isChecked();
  form.coldJunction = coldJunction_->isChecked();
  form.scaling = scaling_->isChecked();
  form.outputCurrent = outputCurrent_->isChecked();
  return form;
}

void GeneralSettingsPage::showSettings(const device::GeneralSettingsForm& form) {
  address_->setText(fromUtf8(form.address));
  baud_->setCurrentIndex(form.baudIndex);
  protocol_->setCurrentIndex(form.protocolIndex);
  inputType_->setCurrentIndex(form.inputTypeIndex);
  filterPeriod_->setText(fromUtf8(form.filterPeriod));
  archivePeriod_->setText(fromUtf8(form.archivePeriod));
  squareRoot_->setChecked(form.squareRoot);
  coldJunction_->setChecked(form.coldJunction);
  scaling_->setChecked(form.scaling);
  outputCurrent_->setChecked(form.outputCurrent);
}

device::ClockForm GeneralSettingsPage::clockForm() const {
  return {maskFieldText(*date_), maskFieldText(*time_), dayWeek_->currentIndex(),
          correct_->text().toStdString()};
}

void GeneralSettingsPage::showClock(const device::ClockForm& form) {
  // An empty text leaves the mask's literals and blank positions.
  date_->setText(fromUtf8(form.date));
  time_->setText(fromUtf8(form.time));
  dayWeek_->setCurrentIndex(form.dayOfWeekIndex);
  correct_->setText(fromUtf8(form.correction));
}
