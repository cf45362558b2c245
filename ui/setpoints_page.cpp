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

namespace {

QLabel* plainLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QLineEdit* valueField(const QByteArray& name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setInputMask(SetpointsPage::initialValueMask());
  field->setText(QStringLiteral("    "));
  field->setMaximumWidth(90);
  return field;
}

QComboBox* selectionList(const QByteArray& name, const QStringList& items, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->addItems(items);
  list->setCurrentIndex(-1);
  return list;
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
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);

  auto* polZap = selectionList("ComboBoxPolZap",
                               {QStringLiteral("0000"), QStringLiteral("000.0"),
                                QStringLiteral("00.00"), QStringLiteral("0.000")},
                               box);
  polZap->setMaximumWidth(90);
  auto* polZapLabel = plainLabel(QStringLiteral("Положение запятой:"), box);
  polZapLabel->setBuddy(polZap);
  grid->addWidget(polZapLabel, 0, 0);
  grid->addWidget(polZap, 0, 1);

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
    auto* field = valueField(range.name, box);
    auto* label = plainLabel(QString::fromUtf8(range.label), box);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    ++row;
  }
  grid->setColumnStretch(2, 1);
  return box;
}

QWidget* SetpointsPage::buildSetpoints() {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(3);

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

    auto* enable = new QCheckBox(QStringLiteral("Включить"), box);
    enable->setObjectName(QString::fromLatin1("CheckBoxUst" + suffix + "Vkl"));
    grid->addWidget(enable, 1, n);
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
  auto* read = new QPushButton(style()->standardIcon(QStyle::SP_BrowserReload),
                               QStringLiteral("Считать из прибора"), box);
  read->setObjectName(QStringLiteral("BitBtnReadNatrUst"));
  auto* write = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                QStringLiteral("Записать в прибор"), box);
  write->setObjectName(QStringLiteral("BitBtnWriteNatrUst"));
  row->addWidget(read);
  row->addWidget(write);
  row->addStretch(1);
  return box;
}
