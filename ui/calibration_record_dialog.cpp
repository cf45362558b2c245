#include "ui/calibration_record_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "device/calibration_record.h"
#include "ui/named_controls.h"

namespace {

constexpr int kNameWidth = 260;

QString summaryOf(const device::CalibrationRecord& record) {
  int read = 0;
  int written = 0;
  for (size_t g = 0; g < device::kCoefficientGroupCount; ++g) {
    const auto& group = record.group(static_cast<device::CoefficientGroup>(g));
    read += group.read ? 1 : 0;
    written += group.written ? 1 : 0;
  }
  const auto instrument = record.instrument().value_or(device::IdentificationTexts{});
  return QStringLiteral(
             "Прибор: %1, серийный номер %2\n"
             "Группы коэффициентов: считано %3 из 6, записано %4 из 6\n"
             "Калибровок точек: %5")
      .arg(QString::fromStdString(instrument.type), QString::fromStdString(instrument.serial))
      .arg(read)
      .arg(written)
      .arg(record.points().size());
}

}  // namespace

CalibrationRecordDialog::CalibrationRecordDialog(const device::CalibrationRecord& record,
                                                 const QString& engineer, bool canPrint,
                                                 QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("FormCalibrationRecord"));
  setWindowTitle(QStringLiteral("Протокол калибровки"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(staticText("StaticTextRecordSummary", summaryOf(record), this));

  auto* nameRow = new QHBoxLayout;
  auto* label = plainLabel(QStringLiteral("Инженер:"), this);
  engineer_ = namedEdit("EditEngineerName", engineer, this);
  engineer_->setMinimumWidth(kNameWidth);
  label->setBuddy(engineer_);
  nameRow->addWidget(label);
  nameRow->addWidget(engineer_, 1);
  layout->addLayout(nameRow);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  save_ = namedButton("BitBtnRecordSave", QStyle::SP_DialogSaveButton,
                      QStringLiteral("Сохранить PDF…"), this);
  save_->setDefault(true);
  connect(save_, &QPushButton::clicked, this, [this] { choose(Choice::kSave); });
  buttons->addWidget(save_);
  if (canPrint) {
    print_ = namedButton("BitBtnRecordPrint", QStringLiteral("Печать…"), this);
    connect(print_, &QPushButton::clicked, this, [this] { choose(Choice::kPrint); });
    buttons->addWidget(print_);
  }
  auto* cancel = namedButton("BitBtnRecordCancel", QStyle::SP_DialogCancelButton,
                             QStringLiteral("Отмена"), this);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  auto named = [this] {
    const bool filled = !this->engineer().isEmpty();
    save_->setEnabled(filled);
    if (print_) print_->setEnabled(filled);
  };
  connect(engineer_, &QLineEdit::textChanged, this, named);
  named();
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CalibrationRecordDialog::engineer() const { return engineer_->text().simplified(); }

void CalibrationRecordDialog::choose(Choice choice) {
  choice_ = choice;
  accept();
}
