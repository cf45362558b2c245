#include "measurements_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/compact_layout.h"
#include "ui/named_controls.h"

namespace {

void paint(QLabel* field, const QColor& color) {
  QPalette palette = field->palette();
  palette.setColor(QPalette::Window, color);
  field->setPalette(palette);
}

// A coloured indicator: the colour is the state, so the background must be painted.
QLabel* indicator(QAnyStringView name, const QString& text, const QColor& color, QWidget* parent) {
  auto* field = staticText(name, text, parent);
  field->setAutoFillBackground(true);
  field->setFrameShape(QFrame::Panel);
  field->setFrameShadow(QFrame::Sunken);
  paint(field, color);
  return field;
}

struct FaultIndicator {
  const char* name;
  const char* caption;
};

// In the order of the fault word's bits 0 to 10.
constexpr FaultIndicator kFaultIndicators[] = {
    {"StaticTextErr5V", "Состояние цепи 5V"},
    {"StaticTextErr3V", "Состояние цепи 3V"},
    {"StaticTextErrBat", "Состояние батареи часов"},
    {"StaticTextErrI2C", "Состояние I2C"},
    {"StaticTextErrEEPROM", "Состояние EEPROM"},
    {"StaticTextErrSPI", "Состояние SPI"},
    {"StaticTextErrFlash", "Состояние архива"},
    {"StaticTextErrIndic", "Состояние индикации"},
    {"StaticTextErrTmp123", "Состояние датчика темп."},
    {"StaticTextErrADC", "Состояние АЦП"},
    {"StaticTextErrDat", "Состояние датчика"},
};

}  // namespace

MeasurementsPage::MeasurementsPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet2"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(6);
  layout->addWidget(buildValues(), 1);
  layout->addWidget(buildFaults());
}

QColor MeasurementsPage::faultActiveColor() { return QColor(Qt::red); }

QColor MeasurementsPage::setpointActiveColor() { return QColor(Qt::red); }

QColor MeasurementsPage::setpointInactiveColor() { return QColor(0xC0, 0xC0, 0xC0); }

QWidget* MeasurementsPage::buildValues() {
  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("GroupBox5"));
  auto* grid = compactGrid(group, {6, 6, 6, 6}, 6);

  struct ValueRow {
    const char* label;
    const char* name;
    bool wraps;
  };
  constexpr ValueRow kValues[] = {
      {"Дата/Время:", "StaticTextIzmerDateTime", false},
      {"Измеряемый параметр:", "StaticTextIzmerVal", false},
      {"Измеряемая величина:", "StaticTextIzmerFiz", false},
      {"Температура окружающей среды, С", "StaticTextIzmerXC", true},
  };
  QLabel** fields[] = {&dateTime_, &parameter_, &physical_, &coldJunction_};
  int row = 0;
  for (const ValueRow& value : kValues) {
    auto* field = staticText(value.name, QString(), group);
    *fields[row] = field;
    field->setFrameShape(QFrame::StyledPanel);
    field->setFrameShadow(QFrame::Sunken);
    field->setMinimumWidth(80);
    // The temperature label is the longest; it wraps rather than widening the page.
    auto* label = plainLabel(QString::fromUtf8(value.label), group);
    label->setWordWrap(value.wraps);
    grid->addWidget(label, row, 0, 1, 2);
    grid->addWidget(field, row, 2, 1, 2);
    ++row;
  }

  grid->setRowMinimumHeight(row++, 6);
  for (int n = 1; n <= 4; ++n, ++row) {
    const QByteArray ust = "StaticTextSostUst" + QByteArray::number(n);
    const QByteArray rele = "StaticTextSostRele" + QByteArray::number(n);
    auto* ustField = indicator(ust, QString(), setpointInactiveColor(), group);
    ustField->setFixedSize(40, 18);
    auto* releField = staticText(rele, QString(), group);
    setpoints_[static_cast<size_t>(n - 1)] = ustField;
    relays_[static_cast<size_t>(n - 1)] = releField;
    releField->setMinimumWidth(80);
    grid->addWidget(plainLabel(QStringLiteral("Уставка %1:").arg(n), group), row, 0);
    grid->addWidget(ustField, row, 1);
    grid->addWidget(plainLabel(QStringLiteral("Реле %1:").arg(n), group), row, 2, Qt::AlignRight);
    grid->addWidget(releField, row, 3);
  }

  grid->setRowMinimumHeight(row++, 6);
  grid->addWidget(namedButton("BitBtnIzmerStart", QStyle::SP_MediaPlay,
                              QStringLiteral("Начать измерение"), group),
                  row++, 0, 1, 4);
  grid->addWidget(namedButton("BitBtnIzmerStop", QStyle::SP_MediaStop,
                              QStringLiteral("Остановить измерение"), group),
                  row++, 0, 1, 4);
  grid->addWidget(
      namedCheckBox("CheckBox1", QStringLiteral("Получить измеренияпо Ethernet"), group), row++, 0,
      1, 4);
  // Below the page's own controls, so none of them moves.
  grid->addWidget(
      namedButton("BitBtnTrend", QStyle::SP_FileDialogContentsView, QStringLiteral("Тренд"), group),
      row++, 0, 1, 4);

  grid->setRowStretch(row, 1);
  grid->setColumnStretch(3, 1);
  return group;
}

QWidget* MeasurementsPage::buildFaults() {
  auto* group = new QGroupBox(QStringLiteral(" Неисправности прибора "), this);
  group->setObjectName(QStringLiteral("GroupBox17"));
  auto* column = new QVBoxLayout(group);
  column->setContentsMargins(6, 6, 6, 6);
  column->setSpacing(4);

  auto* code = staticText("StaticTextErr", QStringLiteral("Код ошибки:"), group);
  QFont bold = code->font();
  bold.setBold(true);
  code->setFont(bold);
  column->addWidget(code);
  errorCode_ = code;

  const QColor buttonFace = palette().color(QPalette::Button);
  size_t bit = 0;
  for (const FaultIndicator& fault : kFaultIndicators) {
    faults_[bit] = indicator(fault.name, QString::fromUtf8(fault.caption), buttonFace, group);
    column->addWidget(faults_[bit++]);
  }
  column->addStretch(1);
  return group;
}

void MeasurementsPage::showValues(const device::MeasuredTexts& texts) {
  for (QLabel* value : {parameter_, physical_, coldJunction_}) value->setEnabled(true);
  dateTime_->setText(QString::fromStdString(texts.dateTime));
  parameter_->setText(QString::fromStdString(texts.parameter));
  physical_->setText(QString::fromStdString(texts.physical));
  coldJunction_->setText(QString::fromStdString(texts.coldJunction));
}

void MeasurementsPage::showHeldBack(const QString& operation) {
  dateTime_->setText(QStringLiteral("ожидание: %1").arg(operation));
  for (QLabel* value : {parameter_, physical_, coldJunction_}) value->setEnabled(false);
}

void MeasurementsPage::showStates(const device::StateIndicators& states) {
  errorCode_->setText(QString::fromStdString(states.errorCode));
  const QColor buttonFace = palette().color(QPalette::Button);
  for (size_t bit = 0; bit < faults_.size(); ++bit) {
    paint(faults_[bit], states.faults[bit] ? faultActiveColor() : buttonFace);
  }
  for (size_t n = 0; n < setpoints_.size(); ++n) {
    paint(setpoints_[n], states.setpoints[n] ? setpointActiveColor() : setpointInactiveColor());
    relays_[n]->setText(QString::fromStdString(states.relays[n]));
  }
}
