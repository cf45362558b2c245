#include "ui/configuration_changes_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/differences_table.h"
#include "ui/named_controls.h"

ConfigurationChangesDialog::ConfigurationChangesDialog(const Contents& contents, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("FormConfigChanges"));
  setWindowTitle(QStringLiteral("Загрузить конфигурацию"));
  resize(600, 420);
  auto* layout = new QVBoxLayout(this);
  auto* heading = staticText(QStringLiteral("StaticTextConfigFile"), contents.heading, this);
  heading->setWordWrap(true);
  layout->addWidget(heading);
  layout->addWidget(plainLabel(QStringLiteral("Будет изменено:"), this));
  table_ = DifferencesTable(QStringLiteral("StringGridConfigChanges"), QStringLiteral("В приборе"),
                            QStringLiteral("В файле"), contents.rows, this);
  layout->addWidget(table_, 1);
  for (size_t i = 0; i < contents.rows.size(); ++i) {
    if (contents.rows[i].field->block == backup::Block::kCalibration)
      calibrationRows_.push_back(static_cast<int>(i));
  }
  if (!contents.otherUnit.isEmpty()) {
    calibration_ = namedCheckBox(QStringLiteral("CheckBoxWriteKoeff"), contents.otherUnit, this);
    connect(calibration_, &QCheckBox::toggled, this,
            &ConfigurationChangesDialog::showCalibrationChoice);
    layout->addWidget(calibration_);
    showCalibrationChoice();
  }
  if (!contents.notes.isEmpty()) {
    auto* notes = staticText(QStringLiteral("StaticTextConfigNotes"),
                             contents.notes.join(QLatin1Char('\n')), this);
    notes->setWordWrap(true);
    layout->addWidget(notes);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Записать в прибор"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

bool ConfigurationChangesDialog::calibrationChosen() const {
  return !calibration_ || calibration_->isChecked();
}

void ConfigurationChangesDialog::showCalibrationChoice() {
  const bool chosen = calibrationChosen();
  for (const int row : calibrationRows_) {
    for (int column = 0; column < table_->columnCount(); ++column) {
      QTableWidgetItem* item = table_->item(row, column);
      item->setFlags(chosen ? item->flags() | Qt::ItemIsEnabled
                            : item->flags() & ~Qt::ItemIsEnabled);
    }
  }
}
