#include "setpoints_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <vector>

#include "ui/compact_layout.h"
#include "ui/decimal_point_typing.h"
#include "ui/named_controls.h"
#include "ui/value_field.h"

namespace {

QLineEdit* valueField(QAnyStringView name, QWidget* parent) {
  auto* field = namedEdit(name, QString(), parent);
  field->setInputMask(SetpointsPage::initialValueMask());
  field->setText(QStringLiteral("    "));
  field->setMaximumWidth(90);
  new DecimalPointTyping(*field);
  return field;
}

}  // namespace

SetpointsPage::SetpointsPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet4"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(8);
  layout->addWidget(buildScale());
  layout->addWidget(buildSetpoints());
  layout->addStretch(1);
  layout->addWidget(buildButtons());
}

// Qt's "9" demands a digit; the instrument's masks let every position stay empty, which is
// Qt's "0".
QString SetpointsPage::initialValueMask() { return QStringLiteral("#000;_"); }

QWidget* SetpointsPage::buildScale() {
  auto* box = new QWidget(this);
  auto* grid = compactGrid(box, {}, 3);

  auto* polZap = polZap_ = selectionList("ComboBoxPolZap",
                                         {QStringLiteral("0000"), QStringLiteral("000.0"),
                                          QStringLiteral("00.00"), QStringLiteral("0.000")},
                                         box);
  polZap->setMaximumWidth(90);
  addRow(grid, 0, QStringLiteral("Положение запятой:"), polZap);

  struct RangeRow {
    const char* name;
    const char* label;
  };
  constexpr RangeRow kRanges[] = {
      {"MaskEditY0", "Начало измерений:"},
      {"MaskEditYK", "Конец измерений:"},
      {"MaskEditZ0", "Начало барграфа (преоб-я)"},
      {"MaskEditZK", "Конец барграфа (преоб-я):"},
  };
  int row = 1;
  for (const RangeRow& range : kRanges) {
    ranges_[static_cast<size_t>(row - 1)] = valueField(range.name, box);
    addRow(grid, row, QString::fromUtf8(range.label), ranges_[static_cast<size_t>(row - 1)]);
    ++row;
  }
  grid->setColumnStretch(2, 1);
  return box;
}

QWidget* SetpointsPage::buildSetpoints() {
  auto* box = new QWidget(this);
  auto* grid = compactGrid(box, {}, 3, 4);

  const QStringList kinds[] = {
      {QStringLiteral("Меньше"), QStringLiteral("Больше")},
      {QStringLiteral("Значение"), QStringLiteral("Скорость")},
      {QStringLiteral("Разомкнуто"), QStringLiteral("Замкнуто")},
      {QStringLiteral("Разомкнуто"), QStringLiteral("Замкнуто")},
  };
  const char* const listNames[] = {"ComboBoxNastrPribUstType", "ComboBoxNastrPribUstVid",
                                   "ComboBoxNastrPribUstReleStart", "ComboBoxNastrPribUstReleObr"};
  const char* const rowLabels[] = {
      "Значение уставки:", "Значение зоны возврата:",   "Тип уставки:",
      "Вид уставки:",      "Начальное состояние реле:", "Состояние реле при обрыве:",
  };

  // The row labels are longer than a setpoint column; they wrap so that four columns fit.
  for (int r = 0; r < 6; ++r) {
    auto* label = plainLabel(QString::fromUtf8(rowLabels[r]), box);
    label->setWordWrap(true);
    grid->addWidget(label, r + 2, 0);
  }
  grid->setColumnMinimumWidth(0, 110);

  for (int n = 1; n <= 4; ++n) {
    const QByteArray suffix = QByteArray::number(n);
    auto* header = plainLabel(QStringLiteral("УСТАВКА %1").arg(n), box);
    header->setAlignment(Qt::AlignCenter);
    grid->addWidget(header, 0, n);

    const auto column = static_cast<size_t>(n - 1);
    enabled_[column] =
        namedCheckBox("CheckBoxUst" + suffix + "Vkl", QStringLiteral("Включить"), box);
    values_[column] = valueField("MaskEditNastrPribUst" + suffix, box);
    zones_[column] = valueField("MaskEditNastrPribZona" + suffix, box);
    grid->addWidget(enabled_[column], 1, n);
    grid->addWidget(values_[column], 2, n);
    grid->addWidget(zones_[column], 3, n);
    for (int k = 0; k < 4; ++k) {
      lists_[column][static_cast<size_t>(k)] = selectionList(listNames[k] + suffix, kinds[k], box);
      grid->addWidget(lists_[column][static_cast<size_t>(k)], 4 + k, n);
    }
    grid->setColumnStretch(n, 1);
  }
  return box;
}

QWidget* SetpointsPage::buildButtons() {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  row->addWidget(namedButton("BitBtnReadNatrUst", QStyle::SP_BrowserReload,
                             QStringLiteral("Считать из прибора"), box));
  row->addWidget(namedButton("BitBtnWriteNatrUst", QStyle::SP_DialogSaveButton,
                             QStringLiteral("Записать в прибор"), box));
  row->addStretch(1);
  return box;
}

void SetpointsPage::applyDecimalPoint() {
  const int code = polZap_->currentIndex();
  // In the order the instrument's tool has always re-laid them.
  std::vector<QLineEdit*> fields(ranges_.begin(), ranges_.end());
  fields.insert(fields.end(), values_.begin(), values_.end());
  fields.insert(fields.end(), zones_.begin(), zones_.end());
  for (QLineEdit* field : fields) {
    ShowValueField(*field, device::RelaidValueText(ValueFieldCharacters(*field), code));
  }
}

void SetpointsPage::clearReadValues() {
  keptByte_ = 0;
  polZap_->setCurrentIndex(0);
  std::vector<QLineEdit*> fields(ranges_.begin(), ranges_.end());
  fields.insert(fields.end(), values_.begin(), values_.end());
  fields.insert(fields.end(), zones_.begin(), zones_.end());
  for (QLineEdit* field : fields) {
    field->setInputMask(initialValueMask());
    field->setText(QStringLiteral("    "));
  }
  for (size_t n = 0; n < enabled_.size(); ++n) {
    enabled_[n]->setChecked(false);
    for (QComboBox* list : lists_[n]) list->setCurrentIndex(0);
  }
}

device::SetpointsForm SetpointsPage::setpointsForm() const {
  device::SetpointsForm form;
  form.decimalPoint = polZap_->currentIndex();
  for (size_t i = 0; i < ranges_.size(); ++i) form.ranges[i] = ValueFieldCharacters(*ranges_[i]);
  for (size_t n = 0; n < form.setpoints.size(); ++n) {
    device::SetpointColumn& column = form.setpoints[n];
    column.enabled = enabled_[n]->isChecked();
    column.value = ValueFieldCharacters(*values_[n]);
    column.zone = ValueFieldCharacters(*zones_[n]);
    for (size_t k = 0; k < column.lists.size(); ++k) column.lists[k] = lists_[n][k]->currentIndex();
  }
  return form;
}

void SetpointsPage::selectDecimalPoint(int code) {
  polZap_->setCurrentIndex(code);
  applyDecimalPoint();
}

void SetpointsPage::showRange(int index, const device::ValueFieldText& text) {
  ShowValueField(*ranges_[static_cast<size_t>(index)], text);
}

void SetpointsPage::showSetpoint(int index, const device::SetpointShown& setpoint) {
  const auto n = static_cast<size_t>(index);
  enabled_[n]->setChecked(setpoint.enabled);
  ShowValueField(*values_[n], setpoint.value);
  ShowValueField(*zones_[n], setpoint.zone);
  for (size_t k = 0; k < setpoint.lists.size(); ++k)
    lists_[n][k]->setCurrentIndex(setpoint.lists[k]);
}
