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

#include "ui/compact_layout.h"
#include "ui/named_controls.h"

namespace {

QLineEdit* valueField(QAnyStringView name, QWidget* parent) {
  auto* field = namedEdit(name, QString(), parent);
  field->setInputMask(SetpointsPage::initialValueMask());
  field->setText(QStringLiteral("    "));
  field->setMaximumWidth(90);
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

  auto* polZap = selectionList("ComboBoxPolZap",
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
  for (const RangeRow& range : kRanges)
    addRow(grid, row++, QString::fromUtf8(range.label), valueField(range.name, box));
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

    grid->addWidget(namedCheckBox("CheckBoxUst" + suffix + "Vkl", QStringLiteral("Включить"), box),
                    1, n);
    grid->addWidget(valueField("MaskEditNastrPribUst" + suffix, box), 2, n);
    grid->addWidget(valueField("MaskEditNastrPribZona" + suffix, box), 3, n);
    for (int k = 0; k < 4; ++k)
      grid->addWidget(selectionList(listNames[k] + suffix, kinds[k], box), 4 + k, n);
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
