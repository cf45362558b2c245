#include "ui/calibration_page.h"

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

constexpr int kGroupMargin = 4;
constexpr int kGroupSpacing = 2;
constexpr int kTitleReserve = 6;
constexpr qreal kCoefficientFontScale = 0.85;

}  // namespace

CalibrationPage::CalibrationPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheet5"));
  auto* grid = compactGrid(this, {4, 4, 4, 4}, 4);

  using Group = device::CoefficientGroup;
  grid->addWidget(buildCoefficients("GroupBoxKoeffIout", QStringLiteral("К-ты выходного тока"),
                                    "EditKoeffIout", Group::kOutputCurrent),
                  0, 0);
  grid->addWidget(buildCoefficients("GroupBoxKoeffIIn", QStringLiteral("К-ты входного тока"),
                                    "EditKoeffIIn", Group::kInputCurrent),
                  0, 1);
  grid->addWidget(buildCoefficients("GroupBoxKoeff100mV", QStringLiteral("К-ты 100мВ"),
                                    "EditKoeff100mV", Group::k100mV),
                  0, 2);
  grid->addWidget(
      buildCoefficients("GroupBoxKoeff1V", QStringLiteral("К-ты 1В"), "EditKoeff1V", Group::k1V), 0,
      3);
  grid->addWidget(buildCoefficients("GroupBoxKoeffR", QStringLiteral("К-ты сопротивления"),
                                    "EditKoeffR", Group::kResistance),
                  1, 0);
  grid->addWidget(buildCoefficients("GroupBoxKoeffXC", QStringLiteral("К-т температуры ХС"),
                                    "EditKoeffXC", Group::kColdJunction),
                  1, 1, Qt::AlignTop);
  grid->addWidget(buildCoefficientButtons(), 1, 2, 1, 2);
  grid->addWidget(buildPointCalibration(), 2, 0, 1, 4);
  grid->setRowStretch(3, 1);
  // The integer groups need little room; the singles' 15 digits take the rest.
  grid->setColumnStretch(2, 1);
  grid->setColumnStretch(3, 1);
}

QStringList CalibrationPage::calibrationPoints() {
  return {
      QStringLiteral("A00 Калиброка выходного тока: точка 4 мА (ввод от 3000мкА до 5000 мкА)"),
      QStringLiteral("A01 Калиброка выходного тока: точка 8 мА (ввод от 7000мкА до 9000 мкА)"),
      QStringLiteral("A02 Калиброка выходного тока: точка 12 мА (ввод от 11000мкА до 13000 мкА)"),
      QStringLiteral("A03 Калиброка выходного тока: точка 16 мА (ввод от 15000мкА до 17000 мкА)"),
      QStringLiteral("A04 Калиброка выходного тока: точка 20 мА (ввод от 19000мкА до 21000 мкА)"),
      QStringLiteral("A05 Калибровка датчика температуры ХС (ввод от 20 C до 30 C)"),
      QStringLiteral("A06 Калибровка  входного тока: точка 4мА"),
      QStringLiteral("A07 Калибровка входного тока: точка 8 мА"),
      QStringLiteral("A08 Калибровка входного тока: точка 12 мА"),
      QStringLiteral("A09 Калибровка входного тока: точка 16 мА"),
      QStringLiteral("A10 Калибровка входного тока: точка 20 мА"),
      QStringLiteral("A11 Калибровка 100мВ: точка 0 mV"),
      QStringLiteral("A12 Калибровка 100мВ: точка  25мВ"),
      QStringLiteral("A13 Калибровка 100мВ: точка 50мВ"),
      QStringLiteral("A14 Калибровка 100мВ: точка 75мВ"),
      QStringLiteral("A15 Калибровка 100мВ: точка 100 мВ"),
      QStringLiteral("A16 Калибровка 100мВ: точка -1V"),
      QStringLiteral("A17 Калибровка 100мВ: точка -0.5V"),
      QStringLiteral("A18 Калибровка 100мВ: точка 0V"),
      QStringLiteral("A19 Калибровка 100мВ: точка +0.5V"),
      QStringLiteral("A20 Калибровка 100мВ: точка 1V"),
      QStringLiteral("A21 Калибровка 4х-проводка: точка 10 Ом"),
      QStringLiteral("A22 Калибровка 4х-проводка: точка 50 Ом"),
      QStringLiteral("A23 Калибровка 4х-проводка: точка 100 Ом"),
      QStringLiteral("A24 Калибровка 4х-проводка: точка 500 Ом"),
      QStringLiteral("A25 Калибровка 4х-проводка: точка 1 кОм"),
  };
}

QGroupBox* CalibrationPage::buildCoefficients(const char* name, const QString& caption,
                                              const char* prefix,
                                              device::CoefficientGroup coefficientGroup) {
  const auto count = static_cast<int>(device::BlockOf(coefficientGroup).fieldCount);
  auto* group = new QGroupBox(caption, this);
  group->setObjectName(QLatin1String(name));
  // The style reserves more room beside a group title than its frame needs; without that
  // reserve the four groups and the three buttons fit the page.
  group->setMinimumWidth(group->fontMetrics().horizontalAdvance(caption) + 2 * kGroupMargin +
                         kTitleReserve);
  auto* column = new QVBoxLayout(group);
  column->setContentsMargins(kGroupMargin, kGroupMargin, kGroupMargin, kGroupMargin);
  column->setSpacing(kGroupSpacing);
  // A single group holds one field whose name carries no number.
  for (int n = 1; n <= count; ++n) {
    const QString suffix = count == 1 ? QString() : QString::number(n);
    auto* field = namedEdit(QLatin1String(prefix) + suffix, QString(), group);
    field->setMinimumWidth(60);
    // A single's 15 significant digits, point and sign must fit the narrowest group.
    QFont font = field->font();
    font.setPointSizeF(font.pointSizeF() * kCoefficientFontScale);
    field->setFont(font);
    column->addWidget(field);
    coefficients_[static_cast<size_t>(coefficientGroup)].push_back(field);
  }
  return group;
}

QWidget* CalibrationPage::buildCoefficientButtons() {
  auto* box = new QWidget(this);
  // Their captions are the longest on the page; a glyph beside them would not leave room for the
  // coefficient groups.
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 8, 0, 0);
  column->setSpacing(6);
  column->addWidget(
      namedButton("BitBtnReadKoeff", QStringLiteral("Считать коэффициенты калибровки"), box));
  column->addWidget(
      namedButton("BitBtn3", QStringLiteral("Установить коэффициенты для работы"), box));
  column->addWidget(
      namedButton("BitBtnWriteKoeff", QStringLiteral("Записать коэффициенты калибровки"), box));
  // The record covers the points below as well as the coefficients: apart from the three.
  column->addSpacing(10);
  column->addWidget(namedButton("BitBtnProtocol", QStyle::SP_FileDialogDetailedView,
                                QStringLiteral("Протокол калибровки…"), box));
  column->addStretch(1);
  return box;
}

QGroupBox* CalibrationPage::buildPointCalibration() {
  auto* group = new QGroupBox(QStringLiteral(" Калибровка прибора "), this);
  group->setObjectName(QStringLiteral("GroupBoxCalibr"));
  auto* grid = compactGrid(group, {kGroupMargin, kGroupMargin, kGroupMargin, kGroupMargin}, 4);

  auto* points = selectionList("ComboBoxCalibrPoint", calibrationPoints(), group);
  // The longest items are wider than the page: the list takes the width of the group and the
  // popup may be wider than the box.
  points->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  points->setMinimumContentsLength(20);
  grid->addWidget(points, 0, 0);
  points_ = points;

  auto* label = staticText("Label1", QStringLiteral("Значение для калибровки:"), group);
  auto* value = namedEdit("EditZnacKalibr", QString(), group);
  value->setMaximumWidth(90);
  value_ = value;
  label->setBuddy(value);

  auto* setCurrent = namedButton("BitBtnSetCurrent", QStyle::SP_MediaPlay,
                                 QStringLiteral("Установить ток"), group);
  auto* calibPoint = namedButton("BitBtnCalibPoint", QStyle::SP_DialogApplyButton,
                                 QStringLiteral("Калибровка точки"), group);
  auto* calibAll = namedButton("BitBtn2", QStyle::SP_DialogYesToAllButton,
                               QStringLiteral("Калибровать все"), group);

  auto* entry = new QHBoxLayout;
  entry->setSpacing(6);
  entry->addWidget(label);
  entry->addWidget(value);
  entry->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(6);
  buttons->addWidget(setCurrent);
  buttons->addWidget(calibPoint);
  buttons->addWidget(calibAll);
  buttons->addStretch(1);
  grid->addLayout(entry, 1, 0);
  grid->addLayout(buttons, 2, 0);
  return group;
}

std::vector<std::string> CalibrationPage::coefficientTexts(device::CoefficientGroup group) const {
  std::vector<std::string> texts;
  for (const QLineEdit* field : coefficients_[static_cast<size_t>(group)]) {
    texts.push_back(field->text().toStdString());
  }
  return texts;
}

void CalibrationPage::showCoefficients(device::CoefficientGroup group,
                                       const std::vector<std::string>& texts) {
  const auto& fields = coefficients_[static_cast<size_t>(group)];
  for (size_t i = 0; i < fields.size() && i < texts.size(); ++i) {
    fields[i]->setText(QString::fromStdString(texts[i]));
    // The leading digits count most where a text is wider than its field.
    fields[i]->setCursorPosition(0);
  }
}

void CalibrationPage::clearCoefficients() {
  for (const auto& group : coefficients_) {
    for (QLineEdit* field : group) field->clear();
  }
}

device::CalibrationPointForm CalibrationPage::calibrationPointForm() const {
  return {points_->currentIndex(), value_->text().toStdString()};
}
